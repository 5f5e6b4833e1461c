#include "poly_frame.h"

int main() { return PolyBodiesMain(); }
