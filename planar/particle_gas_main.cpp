int ParticleGasMain();
int main() { return ParticleGasMain(); }
