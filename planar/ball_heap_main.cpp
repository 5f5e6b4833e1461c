int BallHeapMain();
int main() { return BallHeapMain(); }
