#include <cstdio>
int main() { std::puts("skirrow-tool"); }
