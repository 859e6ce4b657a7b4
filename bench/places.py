"""Where the trees live: a private tmpfs mount or the working folder."""
import os
import subprocess
import tempfile


def fs_type(path):
    out = subprocess.run(["stat", "-f", "-c", "%T", path], check=True,
                         capture_output=True, text=True)
    return out.stdout.strip()


def mount_tmpfs():
    """Mount a tmpfs on a new private folder; return (folder, None), or
    (None, reason) when it cannot be mounted (not root, no permission)."""
    folder = tempfile.mkdtemp(prefix="hardclone-bench-")
    done = subprocess.run(["mount", "-t", "tmpfs", "-o", "mode=700",
                           "hardclone-bench", folder],
                          capture_output=True, text=True)
    if done.returncode != 0:
        os.rmdir(folder)
        return None, done.stderr.strip() or "mount failed"
    return folder, None


def unmount(folder):
    subprocess.run(["umount", folder], check=True)
    os.rmdir(folder)


def remove(path):
    # rm copes with trees deeper than PATH_MAX.
    if os.path.lexists(path):
        subprocess.run(["rm", "-rf", "--one-file-system", path], check=True)
