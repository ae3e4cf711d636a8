/* The least a program can do to put the main menu on the screen: open the
   board, clear the screen the same way, print the menu once. Start-up of the
   tool is measured against this. */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>

int main(void) {
  int fd = open("/dev/quivet", O_RDWR);
  if (fd < 0) return 1;
  if (system("command echo -ne '\033c' && stty sane") != 0) return 1;
  fputs(
      " Quivet Configuration Tool (v1.13)\n\n"
      " 1. Picture Settings\n"
      " 2. Audio Settings\n"
      " 3. Tuner Settings\n"
      " 4. Other Settings\n"
      " 5. Save settings and exit\n"
      " 6. Exit without saving\n\n"
      " Choice: ",
      stdout);
  return 0;
}
