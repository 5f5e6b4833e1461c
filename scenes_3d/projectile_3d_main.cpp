int Projectile3DMain();
int main() { return Projectile3DMain(); }
