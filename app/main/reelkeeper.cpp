// Program entry. The frame and its procedures arrive with the window system; until
// then the program says what it would start and exits cleanly.
#include <cstdio>

int main() {
  std::puts("reelkeeper: the window system is not built yet; nothing to start.");
  return 0;
}
