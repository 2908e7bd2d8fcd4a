// The game in a web page: the page has put the pictures, the window's
// background and the label glyphs in the program's folder before the program
// starts (a file the page could not fetch is simply not there, and start-up
// says so as on the desktop), and its test hooks in the environment.
#include "app/shell.h"
#include "platform/web/web_platform.h"

int main() {
  orvo::web::PageMark("orvo main");
  orvo::web::WebPlatform platform;
  orvo::app::Shell shell(platform);
  shell.Run();
}
