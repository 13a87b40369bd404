"""SQLCipher through ctypes on Debian's libsqlcipher.so.0 (the library the
program links), with default SQLCipher 3 settings.

Python's own sqlite3 module cannot encrypt; this module only needs the C API
and is kept free of the sqlite3 module so the two libraries never mix in one
connection.
"""

import ctypes
import ctypes.util
import os

KEY = "qant527~"
LIB_NAMES = ["libsqlcipher.so.0", "libsqlcipher.so"]

SQLITE_OK, SQLITE_ROW, SQLITE_DONE = 0, 100, 101
OPEN_READONLY, OPEN_READWRITE, OPEN_CREATE = 0x1, 0x2, 0x4


class CipherError(Exception):
    pass


_lib = None


def library():
    """Load libsqlcipher once; CipherError when it is not installed."""
    global _lib
    if _lib is not None:
        return _lib
    errors = []
    for name in LIB_NAMES + [ctypes.util.find_library("sqlcipher") or ""]:
        if not name:
            continue
        try:
            lib = ctypes.CDLL(name)
            break
        except OSError as e:
            errors.append(str(e))
    else:
        raise CipherError("libsqlcipher is not available (Debian package libsqlcipher0): %s"
                          % "; ".join(errors))
    p = ctypes.c_void_p
    lib.sqlite3_open_v2.argtypes = [ctypes.c_char_p, ctypes.POINTER(p), ctypes.c_int, ctypes.c_char_p]
    lib.sqlite3_close.argtypes = [p]
    lib.sqlite3_errmsg.argtypes = [p]
    lib.sqlite3_errmsg.restype = ctypes.c_char_p
    lib.sqlite3_prepare_v2.argtypes = [p, ctypes.c_char_p, ctypes.c_int, ctypes.POINTER(p),
                                       ctypes.POINTER(ctypes.c_char_p)]
    lib.sqlite3_step.argtypes = [p]
    lib.sqlite3_finalize.argtypes = [p]
    lib.sqlite3_column_count.argtypes = [p]
    lib.sqlite3_column_text.argtypes = [p, ctypes.c_int]
    lib.sqlite3_column_text.restype = ctypes.c_void_p
    lib.sqlite3_column_bytes.argtypes = [p, ctypes.c_int]
    lib.sqlite3_libversion.restype = ctypes.c_char_p
    _lib = lib
    return lib


def available():
    try:
        library()
        return True
    except CipherError:
        return False


def _quote(s):
    return "'" + s.replace("'", "''") + "'"


class Connection:
    """Minimal connection: execute() returns all rows as lists of text (None for NULL)."""

    def __init__(self, path, key=None, readonly=True, create=False):
        lib = library()
        if readonly and not os.path.exists(path):
            raise CipherError("no such file: %s" % path)
        self._db = ctypes.c_void_p()
        flags = OPEN_READONLY if readonly else OPEN_READWRITE | (OPEN_CREATE if create else 0)
        rc = lib.sqlite3_open_v2(os.fsencode(path), ctypes.byref(self._db), flags, None)
        if rc != SQLITE_OK:
            msg = lib.sqlite3_errmsg(self._db).decode("utf-8", "replace")
            lib.sqlite3_close(self._db)
            raise CipherError("cannot open %s: %s" % (path, msg))
        if key is not None:
            self.execute("PRAGMA key = %s" % _quote(key))

    def execute(self, sql):
        lib = library()
        rows = []
        data = sql.encode("utf-8")
        buf = ctypes.create_string_buffer(data)
        tail = ctypes.c_char_p(ctypes.addressof(buf))
        end = ctypes.addressof(buf) + len(data)
        while True:
            stmt = ctypes.c_void_p()
            start = ctypes.cast(tail, ctypes.c_void_p).value
            if start is None or start >= end:
                break
            rc = lib.sqlite3_prepare_v2(self._db, ctypes.c_char_p(start), end - start,
                                        ctypes.byref(stmt), ctypes.byref(tail))
            if rc != SQLITE_OK:
                raise CipherError(lib.sqlite3_errmsg(self._db).decode("utf-8", "replace"))
            if not stmt.value:
                continue  # whitespace or comment only
            try:
                ncol = lib.sqlite3_column_count(stmt)
                while True:
                    rc = lib.sqlite3_step(stmt)
                    if rc == SQLITE_ROW:
                        row = []
                        for i in range(ncol):
                            ptr = lib.sqlite3_column_text(stmt, i)
                            if ptr is None:
                                row.append(None)
                            else:
                                n = lib.sqlite3_column_bytes(stmt, i)
                                row.append(ctypes.string_at(ptr, n).decode("utf-8", "replace"))
                        rows.append(row)
                    elif rc == SQLITE_DONE:
                        break
                    else:
                        raise CipherError(lib.sqlite3_errmsg(self._db).decode("utf-8", "replace"))
            finally:
                lib.sqlite3_finalize(stmt)
        return rows

    def close(self):
        if self._db:
            library().sqlite3_close(self._db)
            self._db = None

    def __enter__(self):
        return self

    def __exit__(self, *a):
        self.close()


def export_encrypted(plain, out, key=KEY):
    """Copy the plain SQLite file `plain` into a new SQLCipher file `out`."""
    if os.path.exists(out):
        os.remove(out)
    with Connection(plain, readonly=False, create=True) as c:
        c.execute("ATTACH DATABASE %s AS enc KEY %s" % (_quote(out), _quote(key)))
        c.execute("SELECT sqlcipher_export('enc')")
        c.execute("DETACH DATABASE enc")


def verify(path, key=KEY):
    """Raise CipherError unless the file opens with the key and not without it
    (nor with a wrong key).  Returns the table names."""
    with Connection(path, key=key) as c:
        names = [r[0] for r in c.execute("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY name")]
    for k in (None, key + "x"):
        try:
            with Connection(path, key=k) as c:
                c.execute("SELECT count(*) FROM sqlite_master")
        except CipherError:
            continue
        raise CipherError("%s opens %s" % (path, "without a key" if k is None else "with a wrong key"))
    return names


def version():
    lib = library()
    v = lib.sqlite3_libversion().decode()
    try:
        with Connection(":memory:", readonly=False) as c:
            cv = c.execute("PRAGMA cipher_version")
        return "SQLite %s, SQLCipher %s" % (v, cv[0][0] if cv else "?")
    except CipherError:
        return "SQLite %s" % v
