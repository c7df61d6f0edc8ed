#include "shell/startup.h"

int main() { return shell::RunGame(); }
