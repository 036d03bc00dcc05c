"""What packages.sh checks inside files: zip entries, the winget manifest, and a stand-in
time-stamp server. Each command prints one line per fault and exits 1 if there was one.
  packages.py zip-times ZIP EPOCH
  packages.py unzip ZIP NAME OUT
  packages.py manifest PACKAGES_DIR NAVOLET_EXE
  packages.py timestamp-server REQUESTS PORT_FILE
"""
import glob
import hashlib
import http.server
import os
import struct
import sys
import time
import zipfile

faults = []


def fault(text):
    faults.append(text)
    print("FAIL: " + text)


def zip_times(path, epoch):
    """Every entry carries the time EPOCH: the DOS time (UTC, to 2 s) and the Unix one."""
    t = time.gmtime(epoch)
    dos = (t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec // 2 * 2)
    for entry in zipfile.ZipFile(path).infolist():
        unix = None
        extra = entry.extra
        while len(extra) >= 4:
            tag, size = struct.unpack("<HH", extra[:4])
            if tag == 0x5455 and size >= 5 and extra[4] & 1:
                unix = struct.unpack("<I", extra[5:9])[0]
            extra = extra[4 + size:]
        if entry.date_time != dos or unix != epoch:
            fault(f"{entry.filename} carries {entry.date_time} and {unix}, not {dos} and {epoch}")


def unzip(path, name, out):
    archive = zipfile.ZipFile(path)
    member = [n for n in archive.namelist() if n.rsplit("/", 1)[-1] == name]
    if len(member) != 1:
        fault(f"{path} holds {len(member)} entries named {name}")
        return
    with open(out, "wb") as f:
        f.write(archive.read(member[0]))


def product_version(exe):
    """The product version of the program's version resource (VS_FIXEDFILEINFO)."""
    data = open(exe, "rb").read()
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    ms, ls = struct.unpack("<II", data[at + 16:at + 24])
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def manifest(folder, exe):
    """The three files parse, name one package and one version, the program's and the
    packages' own, and list each installer of the folder with its hash and architecture."""
    import yaml

    version = product_version(exe)
    names = sorted(os.path.basename(p) for p in glob.glob(os.path.join(folder, "Navolet-*-win*.exe")))
    for name in names:
        if name.split("-")[1] != version:
            fault(f"{name} is not named for version {version}, Navolet.exe's")
    dirs = glob.glob(os.path.join(folder, "winget/manifests/n/Navolet/Navolet/*"))
    if [os.path.basename(d) for d in dirs] != [version]:
        fault(f"the manifest's folders are {dirs}, not one for version {version}")
        return
    docs = {}
    for kind, suffix in (("version", ""), ("installer", ".installer"), ("defaultLocale", ".locale.en-US")):
        path = os.path.join(dirs[0], f"Navolet.Navolet{suffix}.yaml")
        try:
            docs[kind] = yaml.safe_load(open(path, encoding="utf-8"))
        except (OSError, yaml.YAMLError) as e:
            fault(f"{path}: {e}")
            return
        schema = open(path, encoding="utf-8").readline()
        doc = docs[kind]
        if doc.get("ManifestType") != kind or f".{kind}.{doc.get('ManifestVersion')}.schema" not in schema:
            fault(f"{path} is a {doc.get('ManifestType')} manifest {doc.get('ManifestVersion')} with {schema!r}")
        if (doc.get("PackageIdentifier"), doc.get("PackageVersion")) != ("Navolet.Navolet", version):
            fault(f"{path} is for {doc.get('PackageIdentifier')} {doc.get('PackageVersion')}")
    if len({d.get("ManifestVersion") for d in docs.values()}) != 1:
        fault("the three files are of different schema versions")
    if docs["version"].get("DefaultLocale") != docs["defaultLocale"].get("PackageLocale"):
        fault("the default locale has no file of its own")
    listed = docs["installer"].get("Installers") or []
    urls = sorted(i.get("InstallerUrl", "").rsplit("/", 1)[-1] for i in listed)
    if urls != names:
        fault(f"the manifest lists {urls}, the folder has {names}")
    for i in listed:
        name = i.get("InstallerUrl", "").rsplit("/", 1)[-1]
        path = os.path.join(folder, name)
        if not os.path.isfile(path):
            continue
        sha = hashlib.sha256(open(path, "rb").read()).hexdigest()
        if str(i.get("InstallerSha256", "")).lower() != sha:
            fault(f"{name}: the manifest's SHA256 is {i.get('InstallerSha256')}, the file's {sha}")
        arch = {"win32": "x86", "win64": "x64"}.get(name.rsplit("-", 1)[-1][:-4])
        if i.get("Architecture") != arch:
            fault(f"{name} is listed for {i.get('Architecture')}, not {arch}")


class TimeStampServer(http.server.BaseHTTPRequestHandler):
    """Notes the type of each request and answers none: no real server is reachable here."""

    def do_POST(self):
        with open(self.server.requests, "a") as f:
            f.write(f"{self.path} {self.headers.get('Content-Type')}\n")
        self.send_error(503)

    def log_message(self, *args):
        pass


def timestamp_server(requests, port_file):
    server = http.server.HTTPServer(("127.0.0.1", 0), TimeStampServer)
    server.requests = requests
    with open(port_file + ".new", "w") as f:
        f.write(str(server.server_port))
    os.rename(port_file + ".new", port_file)
    server.serve_forever()


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    if command == "zip-times":
        zip_times(args[0], int(args[1]))
    elif command == "unzip":
        unzip(*args)
    elif command == "manifest":
        manifest(*args)
    elif command == "timestamp-server":
        timestamp_server(*args)
    sys.exit(1 if faults else 0)
