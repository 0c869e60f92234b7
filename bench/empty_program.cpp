// The floor of the whole-job timings: a C++ program that starts and ends.
int main() { return 0; }
