#include "shell/Startup.h"

int main(int argc, char** argv) { return pixoral::pixoralMain(argc, argv); }
