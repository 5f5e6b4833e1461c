int Projectile2DMain();
int main() { return Projectile2DMain(); }
