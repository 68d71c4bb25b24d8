#!/usr/bin/env python3
# A file system for tests whose folder "hang" never answers, like a network share that sleeps:
# the root and the folder itself answer, every look-up inside the folder waits until the file
# system goes away. In the folder "slow", like a share waking up, every look-up takes a second
# and finds nothing.  Usage: hanging_fs.py MOUNTPOINT (runs in the foreground).
import errno
import stat
import sys
import threading
import time

try:
    from fuse import FUSE, Operations  # fusepy's own name
except ImportError:
    from fusepy import FUSE, Operations  # Debian's python3-fusepy

FOREVER = threading.Event()


class Hanging(Operations):
    def getattr(self, path, fh=None):
        if path in ("/", "/hang", "/slow"):
            return dict(st_mode=stat.S_IFDIR | 0o755, st_nlink=2)
        if path.startswith("/hang/"):
            FOREVER.wait()
        if path.startswith("/slow/"):
            time.sleep(1)
        raise OSError(errno.ENOENT, path)

    def readdir(self, path, fh):
        if path == "/hang":
            FOREVER.wait()
        if path == "/slow":
            time.sleep(1)
        return [".", ".."] if path == "/slow" else [".", "..", "hang", "slow"]


if __name__ == "__main__":
    FUSE(Hanging(), sys.argv[1], foreground=True, nothreads=False)
