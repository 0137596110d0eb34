/*
 * A test-only LD_PRELOAD library that makes file calls fail the way a full or
 * failing disk does, for the files whose path contains a chosen text:
 *
 *   GLYPHOX_FAULT_MATCH  text the file's path must contain
 *   GLYPHOX_FAULT_OP     write | fsync | close | rename | pause
 *   GLYPHOX_FAULT_NTH    the first matching call that fails (1-based); every
 *                        later one fails too, as on a disk that stays full
 *   GLYPHOX_FAULT_ERRNO  the error number to fail with
 *
 * "pause" fails nothing: before the NTH matching write the process writes one
 * byte to the FIFO GLYPHOX_FAULT_READY and waits for one byte from the FIFO
 * GLYPHOX_FAULT_GO, so a test can act while the process is half-way through.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

static int g_count;

static const char* Setting(const char* name)
{
    const char* value = getenv(name);
    return value ? value : "";
}

static int PathMatches(const char* path)
{
    const char* match = Setting("GLYPHOX_FAULT_MATCH");
    return *match && path && strstr(path, match);
}

static int DescriptorMatches(int fd)
{
    char link[64];
    char path[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    if (n <= 0)
        return 0;
    path[n] = '\0';
    return PathMatches(path);
}

/* True when this matching call of op is the NTH or a later one. */
static int Due(const char* op, int matches)
{
    if (!matches || strcmp(Setting("GLYPHOX_FAULT_OP"), op) != 0)
        return 0;
    return ++g_count >= atoi(Setting("GLYPHOX_FAULT_NTH"));
}

static int Fail(void)
{
    errno = atoi(Setting("GLYPHOX_FAULT_ERRNO"));
    return -1;
}

static void PauseIfDue(int fd)
{
    static int paused;
    if (paused || !Due("pause", DescriptorMatches(fd)))
        return;
    paused = 1;
    char byte = 'p';
    int ready = open(Setting("GLYPHOX_FAULT_READY"), O_WRONLY);
    if (ready >= 0) {
        (void)!write(ready, &byte, 1);
        close(ready);
    }
    int go = open(Setting("GLYPHOX_FAULT_GO"), O_RDONLY);
    if (go >= 0) {
        (void)!read(go, &byte, 1);
        close(go);
    }
}

#define REAL(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

ssize_t write(int fd, const void* data, size_t size)
{
    PauseIfDue(fd);
    if (Due("write", DescriptorMatches(fd)))
        return Fail();
    return REAL(write)(fd, data, size);
}

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset)
{
    PauseIfDue(fd);
    if (Due("write", DescriptorMatches(fd)))
        return Fail();
    return REAL(pwrite)(fd, data, size, offset);
}

ssize_t pwrite64(int fd, const void* data, size_t size, off64_t offset)
{
    PauseIfDue(fd);
    if (Due("write", DescriptorMatches(fd)))
        return Fail();
    return REAL(pwrite64)(fd, data, size, offset);
}

int fsync(int fd)
{
    if (Due("fsync", DescriptorMatches(fd)))
        return Fail();
    return REAL(fsync)(fd);
}

int fdatasync(int fd)
{
    if (Due("fsync", DescriptorMatches(fd)))
        return Fail();
    return REAL(fdatasync)(fd);
}

int close(int fd)
{
    const int due = Due("close", DescriptorMatches(fd));
    const int result = REAL(close)(fd); /* the descriptor is gone either way, as on Linux */
    return due ? Fail() : result;
}

int rename(const char* from, const char* to)
{
    if (Due("rename", PathMatches(to)))
        return Fail();
    return REAL(rename)(from, to);
}
