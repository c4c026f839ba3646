// The program GoogleTest's precompiled headers for the test programs are made
// with; it is never run.
int main() { return 0; }
