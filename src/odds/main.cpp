// tessaline-odds: what each pay table returns to the player.
int main() { return 0; }
