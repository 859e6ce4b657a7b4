/* run_stats FILE PROG [ARGS...]: run PROG, write its wall time in seconds
 * and its peak RSS in KiB to FILE, exit with its exit code.
 *
 * Why not wait4 from the Python runner directly: Linux carries the peak RSS
 * of the memory image a process had before exec into its ru_maxrss, so any
 * child started from Python reports at least Python's own size. Started
 * from this small process instead, the figure is the program's own (plus
 * this launcher's few hundred KiB before exec).
 */
#include <stdio.h>
#include <time.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: run_stats FILE PROG [ARGS...]\n");
        return 2;
    }
    struct timespec t0, t1;
    clock_gettime(CLOCK_MONOTONIC, &t0);
    pid_t pid = fork();
    if (pid < 0) {
        perror("run_stats: fork");
        return 2;
    }
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        perror("run_stats: exec");
        _exit(127);
    }
    int status;
    struct rusage ru;
    if (wait4(pid, &status, 0, &ru) < 0) {
        perror("run_stats: wait4");
        return 2;
    }
    clock_gettime(CLOCK_MONOTONIC, &t1);
    double seconds = (t1.tv_sec - t0.tv_sec) + (t1.tv_nsec - t0.tv_nsec) / 1e9;
    FILE *f = fopen(argv[1], "w");
    if (!f || fprintf(f, "%.6f %ld\n", seconds, ru.ru_maxrss) < 0 || fclose(f) != 0) {
        perror("run_stats: write");
        return 2;
    }
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}
