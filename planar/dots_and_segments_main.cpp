#include "dots_segments.h"

int main() { return DotsAndSegmentsMain(); }
