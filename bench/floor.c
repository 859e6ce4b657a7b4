/* floor: the plainest rebuild of a folder tree through hard links, the
 * yardstick hardclone is measured against.
 *
 *   floor SRC DST           make DST, mirror SRC's folders, link the rest
 *   floor --rerun SRC DST   DST was linked before: relink only the names
 *                           whose inode differs from SRC's (or are absent)
 *
 * One thread, raw getdents64 into a large buffer, d_type trusted (stat only
 * for DT_UNKNOWN), and every call relative to an open folder descriptor, so
 * path length never matters. Symlinks are linked themselves: linkat without
 * AT_SYMLINK_FOLLOW, and folders are opened with O_NOFOLLOW.
 */
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#define BUF_SIZE (1 << 20)
#define TMP_NAME ".floor-relink.tmp"
#define DIR_FLAGS (O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)

struct dirent64_raw {
    unsigned long long d_ino;
    long long d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[];
};

struct entry {
    size_t name; /* offset into the list's name pool */
    unsigned long long ino;
    unsigned char type;
};

/* The entries of one folder; names live in one growing pool. */
struct list {
    struct entry *e;
    size_t n, cap;
    char *pool;
    size_t used, pool_cap;
};

static char *buf; /* shared getdents buffer: each folder is read whole first */

static void fail(const char *what, const char *name)
{
    fprintf(stderr, "floor: %s %s: %s\n", what, name, strerror(errno));
    exit(1);
}

static void *grow(void *p, size_t *cap, size_t need, size_t size)
{
    if (need <= *cap)
        return p;
    while (*cap < need)
        *cap = *cap ? *cap * 2 : 64;
    p = realloc(p, *cap * size);
    if (!p)
        fail("out of memory", "");
    return p;
}

static const char *name_of(const struct list *l, size_t i)
{
    return l->pool + l->e[i].name;
}

static void add(struct list *l, const char *name, unsigned long long ino,
                unsigned char type)
{
    size_t len = strlen(name) + 1;
    l->pool = grow(l->pool, &l->pool_cap, l->used + len, 1);
    memcpy(l->pool + l->used, name, len);
    l->e = grow(l->e, &l->cap, l->n + 1, sizeof *l->e);
    l->e[l->n++] = (struct entry){l->used, ino, type};
    l->used += len;
}

static void release(struct list *l)
{
    free(l->e);
    free(l->pool);
}

static unsigned char type_by_stat(int dfd, const char *name,
                                  unsigned long long *ino)
{
    struct stat st;
    if (fstatat(dfd, name, &st, AT_SYMLINK_NOFOLLOW) < 0)
        fail("stat", name);
    *ino = st.st_ino;
    return S_ISDIR(st.st_mode) ? DT_DIR : DT_REG; /* only dir-or-not matters */
}

static int is_dot(const char *n)
{
    return n[0] == '.' && (!n[1] || (n[1] == '.' && !n[2]));
}

/* Read a whole folder into l. */
static void read_dir(int dfd, struct list *l, const char *what)
{
    for (;;) {
        long got = syscall(SYS_getdents64, dfd, buf, BUF_SIZE);
        if (got < 0)
            fail("getdents64", what);
        if (got == 0)
            return;
        for (long off = 0; off < got;) {
            struct dirent64_raw *d = (struct dirent64_raw *)(buf + off);
            off += d->d_reclen;
            if (is_dot(d->d_name))
                continue;
            unsigned long long ino = d->d_ino;
            unsigned char type = d->d_type;
            if (type == DT_UNKNOWN)
                type = type_by_stat(dfd, d->d_name, &ino);
            add(l, d->d_name, ino, type);
        }
    }
}

static int open_dir(int dfd, const char *name)
{
    int fd = openat(dfd, name, DIR_FLAGS);
    if (fd < 0)
        fail("open", name);
    return fd;
}

static void make_dir(int dfd, const char *name)
{
    if (mkdirat(dfd, name, 0777) < 0)
        fail("mkdir", name);
}

static void link_name(int sfd, int dfd, const char *name)
{
    if (linkat(sfd, name, dfd, name, 0) < 0)
        fail("link", name);
}

static void clone_fresh(int sfd, int dfd)
{
    struct list l = {0};
    read_dir(sfd, &l, "source folder");
    for (size_t i = 0; i < l.n; i++) {
        const char *name = name_of(&l, i);
        if (l.e[i].type != DT_DIR) {
            link_name(sfd, dfd, name);
            continue;
        }
        make_dir(dfd, name);
        int s = open_dir(sfd, name), d = open_dir(dfd, name);
        clone_fresh(s, d);
        close(s);
        close(d);
    }
    release(&l);
}

static int by_name(const void *a, const void *b, void *pool)
{
    const struct entry *x = a, *y = b;
    return strcmp((char *)pool + x->name, (char *)pool + y->name);
}

static const struct entry *find(const struct list *l, const char *name)
{
    size_t lo = 0, hi = l->n;
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        int c = strcmp(name, name_of(l, mid));
        if (c == 0)
            return &l->e[mid];
        if (c < 0)
            hi = mid;
        else
            lo = mid + 1;
    }
    return NULL;
}

/* Link to a spare name, then rename it over the old one: the name is never
 * missing from DST. */
static void replace(int sfd, int dfd, const char *name)
{
    if (linkat(sfd, name, dfd, TMP_NAME, 0) < 0) {
        if (errno != EEXIST || unlinkat(dfd, TMP_NAME, 0) < 0 ||
            linkat(sfd, name, dfd, TMP_NAME, 0) < 0)
            fail("link", name);
    }
    if (renameat(dfd, TMP_NAME, dfd, name) < 0)
        fail("rename", name);
}

static void sync_dir(int sfd, int dfd);

static void sync_subdir(int sfd, int dfd, const char *name,
                        const struct entry *old)
{
    if (old && old->type != DT_DIR) {
        if (unlinkat(dfd, name, 0) < 0)
            fail("unlink", name);
        old = NULL;
    }
    if (!old)
        make_dir(dfd, name);
    int s = open_dir(sfd, name), d = open_dir(dfd, name);
    sync_dir(s, d);
    close(s);
    close(d);
}

static void sync_dir(int sfd, int dfd)
{
    struct list src = {0}, dst = {0};
    read_dir(sfd, &src, "source folder");
    read_dir(dfd, &dst, "dest folder");
    qsort_r(dst.e, dst.n, sizeof *dst.e, by_name, dst.pool);
    for (size_t i = 0; i < src.n; i++) {
        const char *name = name_of(&src, i);
        const struct entry *old = find(&dst, name);
        if (src.e[i].type == DT_DIR)
            sync_subdir(sfd, dfd, name, old);
        else if (!old)
            link_name(sfd, dfd, name);
        else if (old->ino != src.e[i].ino)
            replace(sfd, dfd, name);
    }
    release(&src);
    release(&dst);
}

/* A chain thousands of folders deep holds two descriptors per level. */
static void raise_fd_limit(void)
{
    struct rlimit r;
    if (getrlimit(RLIMIT_NOFILE, &r) == 0 && r.rlim_cur < r.rlim_max) {
        r.rlim_cur = r.rlim_max;
        setrlimit(RLIMIT_NOFILE, &r);
    }
}

int main(int argc, char **argv)
{
    int rerun = argc == 4 && strcmp(argv[1], "--rerun") == 0;
    if (argc != 3 && !rerun) {
        fprintf(stderr, "usage: floor [--rerun] SRC DST\n");
        return 2;
    }
    const char *src = argv[argc - 2], *dst = argv[argc - 1];
    buf = malloc(BUF_SIZE);
    if (!buf)
        fail("out of memory", "");
    raise_fd_limit();
    if (!rerun && mkdir(dst, 0777) < 0)
        fail("mkdir", dst);
    int s = open_dir(AT_FDCWD, src), d = open_dir(AT_FDCWD, dst);
    if (rerun)
        sync_dir(s, d);
    else
        clone_fresh(s, d);
    return 0;
}
