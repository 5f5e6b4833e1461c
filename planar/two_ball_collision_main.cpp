int TwoBallCollisionMain();
int main() { return TwoBallCollisionMain(); }
