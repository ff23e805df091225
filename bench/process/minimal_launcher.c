/* The least launcher, the peer of ours in bench/launcher.sh: it prints the
 * same "Launch NAME" line, starts NAME from the current directory (no lookup
 * of extensions) with the remaining arguments, waits, and ends with the
 * program's exit status. Linked statically, as ours is. */
#include <errno.h>
#include <spawn.h>
#include <stdio.h>
#include <string.h>
#include <sys/wait.h>

extern char** environ;

int main(int argc, char** argv)
{
    if (argc < 2)
        return 255;
    printf("Launch %s\n", argv[1]);
    fflush(stdout);
    char path[4096];
    const char* file = argv[1];
    if (!strchr(file, '/')) {
        snprintf(path, sizeof path, "./%s", file);
        file = path;
    }
    pid_t pid;
    int error = posix_spawn(&pid, file, NULL, NULL, argv + 1, environ);
    if (error != 0) {
        fprintf(stderr, "cannot start %s: %s\n", argv[1], strerror(error));
        return 127;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return 126;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
