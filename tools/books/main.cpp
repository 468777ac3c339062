// Placeholder until the books tool lands.
int main() { return 0; }
