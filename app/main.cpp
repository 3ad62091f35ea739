#include <cstdio>

int main() {
  std::puts("kelvane: the calculation core is built; the window comes next.");
  return 0;
}
