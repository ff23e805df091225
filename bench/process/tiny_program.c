/* The smallest program to start, for timing the launcher's own cost. */
int main(void) { return 0; }
