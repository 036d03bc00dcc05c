"""What packages.sh checks inside files, and its stand-in time-stamp server. A check prints
one line per fault and exits 1 if there was one.
  packages.py zip-times ZIP EPOCH
  packages.py manifest PACKAGES_DIR NAVOLET_EXE
  packages.py msi MSI EPOCH NAVOLET_EXE
  packages.py timestamp-server REQUESTS PORT_FILE
"""
import calendar
import glob
import hashlib
import http.server
import os
import re
import struct
import subprocess
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


def version_block(exe):
    """The file version, product version (VS_FIXEDFILEINFO) and first language (VarFileInfo's
    Translation, at the 4-byte boundary after its key) of the program's version resource."""
    data = open(exe, "rb").read()
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    fms, fls, pms, pls = struct.unpack("<IIII", data[at + 8:at + 24])
    key = data.find("Translation\0".encode("utf-16-le"))
    language = struct.unpack("<H", data[(key + 27) // 4 * 4:][:2])[0]
    return (f"{fms >> 16}.{fms & 0xFFFF}.{fls >> 16}.{fls & 0xFFFF}",
            f"{pms >> 16}.{pms & 0xFFFF}.{pls >> 16}.{pls & 0xFFFF}", str(language))


def msiinfo(*args):
    return subprocess.run(["msiinfo", *args], capture_output=True, text=True, check=True,
                          env=dict(os.environ, TZ="UTC")).stdout


def msi_table(path, table):
    """The rows of a table, as lists of columns (msiinfo export: names, types, key, rows)."""
    return [line.split("\t") for line in msiinfo("export", path, table).splitlines()[3:]]


def msi_properties(path):
    return dict(row[:2] for row in msi_table(path, "Property"))


def machine(exe):
    data = open(exe, "rb").read(4096)
    return struct.unpack("<H", data[struct.unpack("<I", data[60:64])[0] + 4:][:2])[0]


# What Windows must find in the package, whatever wixl makes of the source.
UPGRADE_CODE = "{B8A1E9CE-50DB-4808-8099-92D18C8052DE}"


def msi(path, epoch, exe):
    """Per machine, of Navolet.exe's architecture, the fixed upgrade code, the Run value in
    the machine's key starting the installed Navolet.exe as the per-user installer does, a
    refused downgrade that says why, and the commit's time in the summary; and what Windows
    Installer's validation and Windows itself read, which Wine's msiexec does not show."""
    properties = msi_properties(path)
    if properties.get("ALLUSERS") != "1":
        fault(f"ALLUSERS is {properties.get('ALLUSERS')!r}: the package would not install for the machine")
    if properties.get("UpgradeCode") != UPGRADE_CODE:
        fault(f"the upgrade code is {properties.get('UpgradeCode')}, not {UPGRADE_CODE}: no upgrade would find it")
    summary = dict(line.split(": ", 1) for line in msiinfo("suminfo", path).splitlines() if ": " in line)
    x64 = machine(exe) == 0x8664
    if summary.get("Template") != ("x64;1033" if x64 else "Intel;1033"):
        fault(f"the package is for {summary.get('Template')}, Navolet.exe for machine {machine(exe):#x}")
    for column in ("Created", "Last saved"):
        at = time.strptime(summary.get(column, ""), "%a %b %d %H:%M:%S %Y") if column in summary else None
        if not at or calendar.timegm(at) != epoch:
            fault(f"the summary's {column} is {summary.get(column)}, not the commit's time")
    # A 64-bit package whose components are not marked 64-bit writes to the 32-bit view.
    for component, _, _, attributes, *_ in msi_table(path, "Component"):
        if bool(int(attributes) & 256) != x64:
            fault(f"component {component} has attributes {attributes} in a {'64' if x64 else '32'}-bit package")
    conditions = msi_table(path, "LaunchCondition")
    if not any("WIX_DOWNGRADE_DETECTED" in c and "newer version" in m for c, m, *_ in conditions):
        fault(f"no launch condition refuses a downgrade with words for it: {conditions}")
    # The same version of either architecture is replaced, and not refused as a downgrade.
    version, code = properties.get("ProductVersion"), properties.get("UpgradeCode")
    upgrade = sorted(msi_table(path, "Upgrade"), key=lambda row: row[6])
    expected = [[code, version, "", "", "2", "", "WIX_DOWNGRADE_DETECTED"],
                [code, "", version, "", str(1 | 512), "", "WIX_UPGRADE_DETECTED"]]
    if upgrade != expected:
        fault(f"the upgrade rows are {upgrade}, not {expected}")
    # AUTOSTART given wins over the earlier product's features on Windows (Wine's migration
    # does nothing), with a user interface too; a managed install passes it to its server.
    for sequence in ("InstallUISequence", "InstallExecuteSequence"):
        migrate = [row[1] for row in msi_table(path, sequence) if row[0] == "MigrateFeatureStates"]
        if migrate != ["NOT AUTOSTART"]:
            fault(f"{sequence} migrates the earlier product's features where {migrate}")
    secure = set(properties.get("SecureCustomProperties", "").split(";"))
    if not {"AUTOSTART", "WIX_UPGRADE_DETECTED", "WIX_DOWNGRADE_DETECTED"} <= secure:
        fault(f"the secure properties are {sorted(secure)}")
    files = {row[0]: row for row in msi_table(path, "File")}
    registry = {row[0]: row for row in msi_table(path, "Registry")}
    # A shortcut that is not advertised is kept by a value in the user's hive, in a component
    # of its own (ICE43, ICE57).
    keypaths = {row[0]: row[5] for row in msi_table(path, "Component")}
    for shortcut, _, _, component, *_ in msi_table(path, "Shortcut"):
        keypath = registry.get(keypaths.get(component), [None, None])
        held = [name for name, row in files.items() if row[1] == component]
        if keypath[1] != "1" or held:
            fault(f"the shortcut {shortcut}'s component {component} is kept by {keypath} and holds {held}")
    exe_key = [name for name, row in files.items() if row[2].split("|")[-1] == "Navolet.exe"]
    run = [row for row in registry.values()
           if row[1:4] == ["2", "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Navolet"]]
    if not exe_key or [row[4] for row in run] != [f'"[#{exe_key[0]}]"']:
        fault(f"the machine's Run values are {[row[4] for row in run]}, not the quoted path of Navolet.exe")
        return
    # Navolet.exe is a versioned file, which has no hash.
    exe_row, (file_version, _, language) = files[exe_key[0]], version_block(exe)
    hashed = [row[0] for row in msi_table(path, "MsiFileHash") if row[0] == exe_key[0]]
    if exe_row[4:6] != [file_version, language] or hashed:
        fault(f"Navolet.exe's row says version and language {exe_row[4:6]}, its version block "
              f"{[file_version, language]}; hashed: {bool(hashed)}")
    # The Run value is installed only with the file it names (ICE69): its feature is the
    # file's, or one below it.
    parent = {row[0]: row[1] for row in msi_table(path, "Feature")}
    feature = {component: f for f, component, *_ in msi_table(path, "FeatureComponents")}
    at, exe_feature = feature.get(run[0][5]), feature.get(exe_row[1])
    while at and at != exe_feature:
        at = parent.get(at)
    if not at:
        fault(f"the Run value's feature {feature.get(run[0][5])} is not {exe_feature} nor below it")

# The winget 1.10.0 installer schema: the keys it allows where, and the values of its enums.
INSTALLER_KEYS = {
    "InstallerLocale", "Platform", "MinimumOSVersion", "InstallerType", "NestedInstallerType",
    "NestedInstallerFiles", "Scope", "InstallModes", "InstallerSwitches", "InstallerSuccessCodes",
    "ExpectedReturnCodes", "UpgradeBehavior", "Commands", "Protocols", "FileExtensions", "Dependencies",
    "PackageFamilyName", "ProductCode", "Capabilities", "RestrictedCapabilities", "Markets",
    "InstallerAbortsTerminal", "ReleaseDate", "InstallLocationRequired", "RequireExplicitUpgrade",
    "DisplayInstallWarnings", "UnsupportedOSArchitectures", "UnsupportedArguments", "AppsAndFeaturesEntries",
    "ElevationRequirement", "InstallationMetadata", "DownloadCommandProhibited", "RepairBehavior",
    "ArchiveBinariesDependOnPath", "Authentication"}
ROOT_KEYS = INSTALLER_KEYS - {"Authentication"} | {
    "PackageIdentifier", "PackageVersion", "Channel", "Installers", "ManifestType", "ManifestVersion"}
ENTRY_KEYS = {"DisplayName", "Publisher", "DisplayVersion", "ProductCode", "UpgradeCode", "InstallerType"}
SWITCH_KEYS = {"Silent", "SilentWithProgress", "Interactive", "InstallLocation", "Log", "Upgrade", "Custom", "Repair"}
ENUMS = {"InstallerType": {"msix", "msi", "appx", "exe", "zip", "inno", "nullsoft", "wix", "burn", "pwa", "portable"},
         "Scope": {"user", "machine"}, "UpgradeBehavior": {"install", "uninstallPrevious", "deny"},
         "Architecture": {"x86", "x64", "arm", "arm64", "neutral"}}
MODES = {"interactive", "silent", "silentWithProgress"}
GUID = re.compile(r"^\{[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\}$")


def installer_schema(doc):
    """The installer file against what the schema allows; an installer takes what it does not
    say itself from the file's root."""
    for key in set(doc) - ROOT_KEYS:
        fault(f"the installer file's root has {key}, which the schema does not allow")
    for i in doc.get("Installers") or []:
        name = str(i.get("InstallerUrl", "")).rsplit("/", 1)[-1]
        for key in set(i) - INSTALLER_KEYS - {"Architecture", "InstallerUrl", "InstallerSha256"}:
            fault(f"{name}: {key} is not allowed in an installer")
        get = lambda key: i.get(key, doc.get(key))
        for key, values in ENUMS.items():
            if get(key) is not None and get(key) not in values:
                fault(f"{name}: {key} {get(key)!r} is none of {sorted(values)}")
        modes, switches = set(get("InstallModes") or []), get("InstallerSwitches") or {}
        if modes - MODES or set(switches) - SWITCH_KEYS:
            fault(f"{name}: install modes {sorted(modes)}, switches {sorted(switches)}")
        if "SilentWithProgress" in switches and "silentWithProgress" not in modes:
            fault(f"{name}: a switch for silentWithProgress is given, but not the mode")
        for entry in i.get("AppsAndFeaturesEntries") or []:
            if set(entry) - ENTRY_KEYS or ("UpgradeCode" in entry and not GUID.match(str(entry["UpgradeCode"]))):
                fault(f"{name}: the Apps and Features entry {entry} is not of the schema")


def manifest(folder, exe):
    """The three files parse, are of one schema, name one package at Navolet.exe's version,
    the packages' own, and list each installer of the folder with its hash, architecture,
    type and scope; a Windows Installer package with its own product and upgrade codes."""
    import yaml

    version = version_block(exe)[1]
    names = sorted(os.path.basename(p) for p in glob.glob(os.path.join(folder, "Navolet-*-win*.exe"))
                   + glob.glob(os.path.join(folder, "Navolet-*-win*.msi")))
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
    installer_schema(docs["installer"])
    root = docs["installer"]
    listed = {i.get("InstallerUrl", "").rsplit("/", 1)[-1]: i for i in root.get("Installers") or []}
    if sorted(listed) != names:
        fault(f"the manifest lists {sorted(listed)}, the folder has {names}")
    for name, i in listed.items():
        path = os.path.join(folder, name)
        sha = hashlib.sha256(open(path, "rb").read()).hexdigest() if name in names else None
        arch = {"win32": "x86", "win64": "x64"}.get(name.rsplit("-", 1)[-1].split(".")[0])
        kind = {"exe": ("nullsoft", "user"), "msi": ("wix", "machine")}.get(name.rsplit(".", 1)[-1])
        got = (str(i.get("InstallerSha256")).lower(), i.get("Architecture"),
               (i.get("InstallerType", root.get("InstallerType")), i.get("Scope", root.get("Scope"))))
        if got != (sha, arch, kind):
            fault(f"{name} is listed as {got}, not {(sha, arch, kind)}")
        if kind and kind[0] == "wix" and name in names:
            p = msi_properties(path)
            entry = {"DisplayVersion": p["ProductVersion"], "ProductCode": p["ProductCode"], "UpgradeCode": p["UpgradeCode"]}
            if i.get("ProductCode") != p["ProductCode"] or [{k: e.get(k) for k in entry} for e in
                                                             i.get("AppsAndFeaturesEntries") or []] != [entry]:
                fault(f"{name} is listed with product code {i.get('ProductCode')} and entries "
                      f"{i.get('AppsAndFeaturesEntries')}, the package has {entry}")


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
     "msi": lambda path, epoch, exe: msi(path, int(epoch), exe),
     "timestamp-server": timestamp_server}[sys.argv[1]](*sys.argv[2:])
    sys.exit(1 if faults else 0)
