// Shares the console it is started on for a minute, as a prompt would; the
// console test ends it sooner.
#include <windows.h>

int main() {
  Sleep(60000);
  return 0;
}
