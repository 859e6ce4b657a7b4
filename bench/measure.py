"""Run one program and measure it: wall time, peak RSS, system calls."""
import os
import subprocess
import tempfile


class RunFailed(Exception):
    pass


def spawn_wait(argv, out_fd, err_fd):
    """Run argv with stdout on out_fd, stderr on err_fd; return its status."""
    actions = [(os.POSIX_SPAWN_DUP2, out_fd, 1),
               (os.POSIX_SPAWN_DUP2, err_fd, 2)]
    pid = os.posix_spawnp(argv[0], argv, os.environ, file_actions=actions)
    return os.wait4(pid, 0)[1]


def tail(f, limit=400):
    """The end of a captured stream, shortened: errors can be huge."""
    f.seek(0)
    text = f.read().decode(errors="replace").strip()
    return text if len(text) <= limit else "..." + text[-limit:]


def run_timed(argv, run_stats, stdout_path=None):
    """Run argv once under the run_stats launcher (see run_stats.c for why);
    return (seconds, peak RSS in KiB) as it reports them.

    Raises RunFailed on a nonzero exit, or on any output to stdout unless
    stdout_path is given (it then receives the output).
    """
    if stdout_path is None:
        out = tempfile.TemporaryFile()
        out_fd = out.fileno()
    else:
        out = None
        out_fd = os.open(stdout_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC
                         | os.O_CLOEXEC, 0o644)
    err = tempfile.TemporaryFile()
    stats = tempfile.NamedTemporaryFile("r")
    try:
        status = spawn_wait([run_stats, stats.name] + argv, out_fd,
                            err.fileno())
        code = os.waitstatus_to_exitcode(status)
        if code != 0:
            raise RunFailed(f"{' '.join(argv)}: exit code {code}\n"
                            + tail(err))
        if out is not None and os.fstat(out_fd).st_size:
            raise RunFailed(f"{' '.join(argv)}: wrote to stdout")
        seconds, kib = stats.read().split()
    finally:
        stats.close()
        err.close()
        if out is not None:
            out.close()
        else:
            os.close(out_fd)
    return float(seconds), int(kib)


def syscall_count(argv):
    """Total system calls of argv and its threads, counted by strace -c."""
    with tempfile.NamedTemporaryFile("r") as log:
        cmd = ["strace", "-f", "-c", "-U", "calls,name", "-o", log.name]
        done = subprocess.run(cmd + argv, stdout=subprocess.DEVNULL)
        if done.returncode != 0:
            raise RunFailed(f"strace {' '.join(argv)}: exit code "
                            f"{done.returncode}")
        for line in log:
            fields = line.split()
            if len(fields) == 2 and fields[1] == "total":
                return int(fields[0])
    raise RunFailed(f"strace {' '.join(argv)}: no total in its summary")
