// SPDX-License-Identifier: GPL-3.0-or-later
// Holds a serial device open and exclusive, as a terminal program does, until
// its standard input closes. Prints "held" once it has the device.

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: port_holder DEVICE\n");
        return 2;
    }
    const int fd = open(argv[1], O_RDWR | O_NOCTTY);
    if (fd < 0 || ioctl(fd, TIOCEXCL) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    char byte = 0;
    while (read(STDIN_FILENO, &byte, 1) > 0) {
    }
    ioctl(fd, TIOCNXCL);
    close(fd);
    return 0;
}
