int TerrainBallsWireMain();
int main() { return TerrainBallsWireMain(); }
