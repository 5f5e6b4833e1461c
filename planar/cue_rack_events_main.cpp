#include "cue_rack.h"

int main() { return CueRackEventsMain(); }
