#include "box_balls_gl_frame.h"

int main() { return BoxBallsGLMain(); }
