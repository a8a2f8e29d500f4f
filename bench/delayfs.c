// A pass-through file system that waits a given time before each call, to play a slow school server:
//   delayfs SOURCE MOUNTPOINT DELAY_MS [FUSE OPTIONS]
// serves SOURCE at MOUNTPOINT; every call sleeps DELAY_MS milliseconds first and is counted. The counts by
// kind are written to MOUNTPOINT/../delayfs-calls.txt when the file system is unmounted. For the share
// benchmark (bench/share.sh); not part of the launcher.
#define FUSE_USE_VERSION 31
#define _GNU_SOURCE

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static int source_fd = -1;
static long delay_ms = 0;
static char counts_path[4096];
static unsigned long counts[8];
enum { C_STAT, C_OPEN, C_READ, C_WRITE, C_DIR, C_CHANGE, C_OTHER };

static void wait_and_count(int kind) {
    __atomic_add_fetch(&counts[kind], 1, __ATOMIC_RELAXED);
    if (delay_ms > 0) {
        struct timespec t = {delay_ms / 1000, (delay_ms % 1000) * 1000000L};
        nanosleep(&t, NULL);
    }
}

// Paths under the source folder: FUSE gives "/a/b", openat wants "a/b" ("." for the root).
static const char* rel(const char* path) {
    return path[1] ? path + 1 : ".";
}

static int d_getattr(const char* path, struct stat* st, struct fuse_file_info* fi) {
    wait_and_count(C_STAT);
    int r = fi ? fstat((int)fi->fh, st) : fstatat(source_fd, rel(path), st, AT_SYMLINK_NOFOLLOW);
    return r == -1 ? -errno : 0;
}

static int d_readdir(const char* path, void* buf, fuse_fill_dir_t fill, off_t off, struct fuse_file_info* fi,
                     enum fuse_readdir_flags flags) {
    (void)off, (void)fi, (void)flags;
    wait_and_count(C_DIR);
    int fd = openat(source_fd, rel(path), O_RDONLY | O_DIRECTORY);
    if (fd == -1) {
        return -errno;
    }
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return -errno;
    }
    struct dirent* e;
    while ((e = readdir(dir)) != NULL) {
        if (fill(buf, e->d_name, NULL, 0, 0)) {
            break;
        }
    }
    closedir(dir);
    return 0;
}

static int d_open(const char* path, struct fuse_file_info* fi) {
    wait_and_count(C_OPEN);
    int fd = openat(source_fd, rel(path), fi->flags & ~O_NOFOLLOW);
    if (fd == -1) {
        return -errno;
    }
    fi->fh = (uint64_t)fd;
    return 0;
}

static int d_create(const char* path, mode_t mode, struct fuse_file_info* fi) {
    wait_and_count(C_CHANGE);
    int fd = openat(source_fd, rel(path), fi->flags, mode);
    if (fd == -1) {
        return -errno;
    }
    fi->fh = (uint64_t)fd;
    return 0;
}

static int d_read(const char* path, char* buf, size_t size, off_t off, struct fuse_file_info* fi) {
    (void)path;
    wait_and_count(C_READ);
    ssize_t n = pread((int)fi->fh, buf, size, off);
    return n == -1 ? -errno : (int)n;
}

static int d_write(const char* path, const char* buf, size_t size, off_t off, struct fuse_file_info* fi) {
    (void)path;
    wait_and_count(C_WRITE);
    ssize_t n = pwrite((int)fi->fh, buf, size, off);
    return n == -1 ? -errno : (int)n;
}

static int d_release(const char* path, struct fuse_file_info* fi) {
    (void)path;
    close((int)fi->fh);
    return 0;
}

static int d_flush(const char* path, struct fuse_file_info* fi) {
    (void)path, (void)fi;
    return 0;
}

static int d_fsync(const char* path, int datasync, struct fuse_file_info* fi) {
    (void)path;
    wait_and_count(C_WRITE);
    return (datasync ? fdatasync((int)fi->fh) : fsync((int)fi->fh)) == -1 ? -errno : 0;
}

static int d_unlink(const char* path) {
    wait_and_count(C_CHANGE);
    return unlinkat(source_fd, rel(path), 0) == -1 ? -errno : 0;
}

static int d_mkdir(const char* path, mode_t mode) {
    wait_and_count(C_CHANGE);
    return mkdirat(source_fd, rel(path), mode) == -1 ? -errno : 0;
}

static int d_rmdir(const char* path) {
    wait_and_count(C_CHANGE);
    return unlinkat(source_fd, rel(path), AT_REMOVEDIR) == -1 ? -errno : 0;
}

static int d_rename(const char* from, const char* to, unsigned int flags) {
    wait_and_count(C_CHANGE);
    return renameat2(source_fd, rel(from), source_fd, rel(to), flags) == -1 ? -errno : 0;
}

static int d_truncate(const char* path, off_t size, struct fuse_file_info* fi) {
    wait_and_count(C_CHANGE);
    int r;
    if (fi) {
        r = ftruncate((int)fi->fh, size);
    } else {
        int fd = openat(source_fd, rel(path), O_WRONLY);
        if (fd == -1) {
            return -errno;
        }
        r = ftruncate(fd, size);
        close(fd);
    }
    return r == -1 ? -errno : 0;
}

static int d_utimens(const char* path, const struct timespec tv[2], struct fuse_file_info* fi) {
    wait_and_count(C_OTHER);
    int r = fi ? futimens((int)fi->fh, tv) : utimensat(source_fd, rel(path), tv, AT_SYMLINK_NOFOLLOW);
    return r == -1 ? -errno : 0;
}

static int d_chmod(const char* path, mode_t mode, struct fuse_file_info* fi) {
    wait_and_count(C_OTHER);
    int r = fi ? fchmod((int)fi->fh, mode) : fchmodat(source_fd, rel(path), mode, 0);
    return r == -1 ? -errno : 0;
}

static int d_statfs(const char* path, struct statvfs* st) {
    (void)path;
    wait_and_count(C_OTHER);
    return fstatvfs(source_fd, st) == -1 ? -errno : 0;
}

static void d_destroy(void* data) {
    (void)data;
    FILE* f = fopen(counts_path, "w");
    if (f) {
        fprintf(f, "stat %lu open %lu read %lu write %lu dir %lu change %lu other %lu\n", counts[C_STAT],
                counts[C_OPEN], counts[C_READ], counts[C_WRITE], counts[C_DIR], counts[C_CHANGE], counts[C_OTHER]);
        fclose(f);
    }
}

static const struct fuse_operations ops = {
    .getattr = d_getattr, .readdir = d_readdir, .open = d_open,       .create = d_create,     .read = d_read,
    .write = d_write,     .release = d_release, .flush = d_flush,     .fsync = d_fsync,       .unlink = d_unlink,
    .mkdir = d_mkdir,     .rmdir = d_rmdir,     .rename = d_rename,   .truncate = d_truncate, .utimens = d_utimens,
    .chmod = d_chmod,     .statfs = d_statfs,   .destroy = d_destroy,
};

int main(int argc, char* argv[]) {
    if (argc < 4) {
        fprintf(stderr, "usage: delayfs SOURCE MOUNTPOINT DELAY_MS [FUSE OPTIONS]\n");
        return 2;
    }
    source_fd = open(argv[1], O_RDONLY | O_DIRECTORY);
    if (source_fd == -1) {
        perror(argv[1]);
        return 1;
    }
    delay_ms = strtol(argv[3], NULL, 10);
    char* mount = realpath(argv[2], NULL);
    if (!mount) {
        perror(argv[2]);
        return 1;
    }
    snprintf(counts_path, sizeof counts_path, "%s/../delayfs-calls.txt", mount);
    // FUSE's own arguments: the program name, the mount point, then the rest.
    char* args[64];
    int n = 0;
    args[n++] = argv[0];
    args[n++] = mount;
    for (int i = 4; i < argc && n < 63; ++i) {
        args[n++] = argv[i];
    }
    args[n] = NULL;
    return fuse_main(n, args, &ops, NULL);
}
