/* A game loop that reloads its splines each time the designer saves them
   in the editor (the S key), without a restart: between frames it waits on
   the watch's descriptor, and reads the file again when it has changed.

     hot_reload [FILE] [SECONDS]

   FILE defaults to Splines.xml; the loop ends after SECONDS (default 60),
   or on Ctrl-C. On Windows the watch gives a waitable handle rather than a
   descriptor. */
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <poll.h>
#include <time.h>
#endif

#include <velmora/splinefile.h>
#include <velmora/watch.h>

static volatile sig_atomic_t stopped = 0;

#ifdef _WIN32
static double now_seconds(void) { return (double)GetTickCount64() / 1e3; }

static BOOL WINAPI stop_on_console_event(DWORD event) {
    (void)event;
    stopped = 1;
    return TRUE;
}

static void stop_on_signals(void) { SetConsoleCtrlHandler(stop_on_console_event, TRUE); }

/* Waits up to `ms` for the watch to signal; nonzero when it did. */
static int wait_for_change(velmora_watch* watch, int ms) {
    return WaitForSingleObject(velmora_watch_handle(watch), (DWORD)ms) == WAIT_OBJECT_0;
}
#else
static void stop(int signal_number) {
    (void)signal_number;
    stopped = 1;
}

static double now_seconds(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

static void stop_on_signals(void) {
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = stop;
    sigaction(SIGINT, &action, NULL);
    sigaction(SIGTERM, &action, NULL);
}

static int wait_for_change(velmora_watch* watch, int ms) {
    struct pollfd ready = {velmora_watch_fd(watch), POLLIN, 0};
    return poll(&ready, 1, ms) > 0;
}
#endif

/* Reads the splines and says how many each note has. A file that cannot be
   read in full leaves the game with the splines it had. */
static void load(const char* path) {
    velmora_file* file = velmora_file_read(path);
    if (file == NULL) {
        fprintf(stderr, "out of memory\n");
        return;
    }
    const int status = velmora_file_status(file);
    if (status == VELMORA_FILE_LOADED || status == VELMORA_FILE_EMPTY) {
        printf("splines per note:");
        for (int note = 0; note < 4; ++note)
            printf(" %zu", velmora_file_spline_count(file, note));
        printf("\n");
    } else if (status == VELMORA_FILE_MISSING) {
        printf("%s is missing; keeping the splines we have\n", path);
    } else {
        printf("%s cannot be read in full (%s); keeping the splines we have\n", path,
               velmora_file_reason(file));
    }
    fflush(stdout);
    velmora_file_free(file);
}

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "Splines.xml";
    const double seconds = argc > 2 ? atof(argv[2]) : 60.0;

    stop_on_signals();

    /* Watch first, then read: a save in between is not missed. */
    velmora_watch* watch = velmora_watch_open(path);
    if (watch == NULL) {
        perror(path);
        return 1;
    }
    load(path);
    const double end = now_seconds() + seconds;
    while (!stopped && now_seconds() < end) {
        /* One frame: about 60 a second. */
        if (!wait_for_change(watch, 16))
            continue;
        const int changed = velmora_watch_changed(watch);
        if (changed < 0) {
            perror("watch");
            break;
        }
        if (changed > 0)
            load(path);
    }
    velmora_watch_close(watch);
    return 0;
}
