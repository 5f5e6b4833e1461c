int TerrainBallsGlMain();
int main() { return TerrainBallsGlMain(); }
