// Sleeps until killed; while it lives, Wine's helper processes stay up between tests.
#include <windows.h>

int main() {
  for (;;) Sleep(INFINITE);
}
