// Plays a misbehaving tool against the virtual board: each argument is one
// call, so the board's own tests can make calls the real tool never makes.
//   open:<flags>  ioctl:<code>:<arg>  close  system:<text>  fopen:<path>:<mode>
//   spin, flood   (never return: the harness must stop them)
// Prints one result line per call.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  int fd = -1;
  for (int i = 1; i < argc; ++i) {
    const std::string call = argv[i];
    const size_t colon = call.find(':');
    const std::string verb = call.substr(0, colon);
    const std::string rest = colon == std::string::npos ? "" : call.substr(colon + 1);
    if (verb == "open") {
      fd = open("/dev/quivet", std::atoi(rest.c_str()));
      std::printf("open %s\n", fd < 0 ? std::strerror(errno) : "ok");
    } else if (verb == "ioctl") {
      const size_t at = rest.find(':');
      const long arg = std::strtol(rest.c_str() + at + 1, nullptr, 10);
      const int result = ioctl(fd, std::strtoul(rest.c_str(), nullptr, 10), arg);
      std::printf("ioctl %d\n", result);
    } else if (verb == "close") {
      std::printf("close %d\n", close(fd));
    } else if (verb == "system") {
      std::fflush(stdout);
      std::printf("system %d\n", std::system(rest.c_str()));
    } else if (verb == "spin") {
      volatile int never = 0;
      while (never == 0) {
      }
    } else if (verb == "flood") {
      for (;;) std::fputs(" Choice: ", stdout);
    } else if (verb == "fopen") {
      const size_t at = rest.rfind(':');
      const std::string path = rest.substr(0, at);
      std::FILE* file = std::fopen(path.c_str(), rest.c_str() + at + 1);
      if (file == nullptr) {
        std::printf("fopen %s\n", std::strerror(errno));
        continue;
      }
      std::fputs("written\n", file);
      std::fflush(file);
      fsync(fileno(file));
      std::fclose(file);
      std::printf("fopen ok\n");
    }
  }
  return 0;
}
