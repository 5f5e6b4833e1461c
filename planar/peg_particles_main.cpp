#include "peg_field.h"

int main() { return PegParticlesMain(); }
