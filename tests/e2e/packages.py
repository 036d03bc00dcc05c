"""What packages.sh checks inside files, and its stand-in time-stamp server. A check prints
one line per fault and exits 1 if there was one.
  packages.py zip-times ZIP EPOCH
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
    """Every entry carries EPOCH: as DOS time (UTC, to 2 s) and as Unix time (extra field UT)."""
    t = time.gmtime(epoch)
    dos = (t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec // 2 * 2)
    for entry in zipfile.ZipFile(path).infolist():
        at = entry.extra.find(b"UT")
        unix = struct.unpack("<I", entry.extra[at + 5:at + 9])[0] if at >= 0 else None
        if entry.date_time != dos or unix != epoch:
            fault(f"{entry.filename} carries {entry.date_time} and {unix}, not {dos} and {epoch}")


def product_version(exe):
    """The product version in the program's version resource (VS_FIXEDFILEINFO)."""
    data = open(exe, "rb").read()
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    ms, ls = struct.unpack("<II", data[at + 16:at + 24])
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def manifest(folder, exe):
    """The three files parse, are of one schema, name one package at Navolet.exe's version,
    the packages' own, and list each installer of the folder with its hash and architecture."""
    import yaml

    version = product_version(exe)
    names = sorted(os.path.basename(p) for p in glob.glob(os.path.join(folder, "Navolet-*-win*.exe")))
    if [n.split("-")[1] for n in names] != [version] * len(names) or not names:
        fault(f"the installers {names} are not named for version {version}, Navolet.exe's")
    base = os.path.join(folder, "winget/manifests/n/Navolet/Navolet", version, "Navolet.Navolet")
    docs = {}
    for kind, suffix in (("version", ""), ("installer", ".installer"), ("defaultLocale", ".locale.en-US")):
        try:
            with open(f"{base}{suffix}.yaml", encoding="utf-8") as f:
                schema = f.readline()
                doc = docs[kind] = yaml.safe_load(schema + f.read())
        except (OSError, yaml.YAMLError) as e:
            fault(f"{base}{suffix}.yaml: {e}")
            return
        got = (doc.get("ManifestType"), doc.get("PackageIdentifier"), doc.get("PackageVersion"))
        if got != (kind, "Navolet.Navolet", version) or f".{kind}.{doc.get('ManifestVersion')}.schema" not in schema:
            fault(f"{base}{suffix}.yaml is {got} of schema {doc.get('ManifestVersion')}, {schema.strip()}")
    if len({d.get("ManifestVersion") for d in docs.values()}) != 1:
        fault("the three files are of different schema versions")
    listed = {i.get("InstallerUrl", "").rsplit("/", 1)[-1]: i for i in docs["installer"].get("Installers") or []}
    if sorted(listed) != names:
        fault(f"the manifest lists {sorted(listed)}, the folder has {names}")
    for name, i in listed.items():
        sha = hashlib.sha256(open(os.path.join(folder, name), "rb").read()).hexdigest() if name in names else None
        arch = {"win32.exe": "x86", "win64.exe": "x64"}.get(name.rsplit("-", 1)[-1])
        if (str(i.get("InstallerSha256")).lower(), i.get("Architecture")) != (sha, arch):
            fault(f"{name} is listed for {i.get('Architecture')} with SHA256 {i.get('InstallerSha256')}, "
                  f"not for {arch} with {sha}")


class TimeStampServer(http.server.BaseHTTPRequestHandler):
    """Notes the path and type of each request and answers none: no real server is reachable."""

    def do_POST(self):
        with open(self.server.requests, "a") as f:
            f.write(f"{self.path} {self.headers.get('Content-Type')}\n")
        try:
            self.send_error(503)
        except OSError:  # the client may not wait for the answer
            pass

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
    {"zip-times": lambda zip_file, epoch: zip_times(zip_file, int(epoch)),
     "manifest": manifest,
     "timestamp-server": timestamp_server}[sys.argv[1]](*sys.argv[2:])
    sys.exit(1 if faults else 0)
