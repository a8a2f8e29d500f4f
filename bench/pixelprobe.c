/* Start-up timing for startup.sh: starts a command and watches one screen pixel until it shows the wanted
 * colour, then prints the milliseconds from the start of the command to the first time the pixel was not
 * black (the window mapped) and to the first time it had the wanted colour (the window drawn), and the
 * command's pid. The command keeps running; startup.sh ends it.
 *
 * Usage: pixelprobe X Y RRGGBB TIMEOUT_MS -- COMMAND ARGS...
 * Build: cc -O2 -o pixelprobe pixelprobe.c -lX11 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1.0e6;
}

int main(int argc, char** argv) {
    if (argc < 7 || strcmp(argv[5], "--") != 0) {
        fprintf(stderr, "usage: %s X Y RRGGBB TIMEOUT_MS -- COMMAND ARGS...\n", argv[0]);
        return 2;
    }
    const int x = atoi(argv[1]);
    const int y = atoi(argv[2]);
    const unsigned long wanted = strtoul(argv[3], NULL, 16);
    const double timeout = atof(argv[4]);
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "no display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    const double start = Now();
    const pid_t pid = fork();
    if (pid == 0) {
        /* The command outlives the probe: it must not hold the probe's output open. */
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            close(null);
        }
        execvp(argv[6], argv + 6);
        _exit(127);
    }
    double mapped = -1;
    double drawn = -1;
    while (Now() - start < timeout) {
        XImage* image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap);
        if (image != NULL) {
            const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
            XDestroyImage(image);
            const double t = Now() - start;
            if (pixel != 0 && mapped < 0) {
                mapped = t;
            }
            if (pixel == wanted) {
                drawn = t;
                break;
            }
        }
        usleep(1000);
    }
    printf("%.1f %.1f %d\n", mapped, drawn, (int)pid);
    XCloseDisplay(display);
    return drawn < 0 ? 1 : 0;
}
