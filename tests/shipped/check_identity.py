#!/usr/bin/env python3
"""Every shipped file names its maker, product and version; every shipped program carries a
manifest Windows Vista to 11 read as meant and Windows XP SP3 loads. The resources are read
back by 7-Zip's PE reader, not by anything of this build.
Usage: check_identity.py VERSION DIST_FILE_LIST"""
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

ELEVATED = {"skerrit.exe", "tolvane.exe", "tvsample.exe"}
ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPAT = "{urn:schemas-microsoft-com:compatibility.v1}"
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10/11",
}
STRINGS = ("CompanyName", "FileDescription", "FileVersion", "LegalCopyright", "OriginalFilename",
           "ProductName", "ProductVersion")


def extract_resources(path, into):
    subprocess.run(["7zz", "x", "-y", "-o" + into, path, ".rsrc"], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return os.path.join(into, ".rsrc")


def read_text(path):
    raw = open(path, "rb").read()
    return raw.decode("utf-16-le") if raw[:2] != b"<?" and b"\0" in raw[:8] else raw.decode("utf-8")


def version_values(text):
    fields, strings = {}, {}
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("VALUE "):
            name, _, value = line[len("VALUE "):].partition(",")
            strings[name.strip().strip('"')] = value.strip().strip('"')
        elif line[:1].isupper() and " " in line:
            key, _, value = line.partition(" ")
            fields[key] = value.strip().replace(" ", "")
    return fields, strings


def check_version(name, rsrc, version, problems):
    path = os.path.join(rsrc, "version.txt")
    if not os.path.exists(path):
        problems.append("no version resource")
        return
    fields, strings = version_values(read_text(path))
    numeric = version.replace(".", ",")
    for field in ("FILEVERSION", "PRODUCTVERSION"):
        if fields.get(field) != numeric:
            problems.append(f"{field} {fields.get(field)} is not {numeric}")
    for key in STRINGS:
        if not strings.get(key):
            problems.append(f"version string {key} missing or empty")
    for key in ("FileVersion", "ProductVersion"):
        if strings.get(key, version) != version:
            problems.append(f"{key} {strings[key]} is not {version}")
    if strings.get("OriginalFilename", name).lower() != name.lower():
        problems.append(f"OriginalFilename {strings['OriginalFilename']} is not {name}")


def check_manifest(name, rsrc, version, problems):
    path = os.path.join(rsrc, "MANIFEST", "1")
    if not os.path.exists(path):
        problems.append("no manifest (RT_MANIFEST 1)")
        return
    try:
        root = ET.fromstring(open(path, "rb").read())
    except ET.ParseError as error:
        problems.append(f"manifest is not well formed: {error}")
        return
    if root.tag != ASM_V1 + "assembly" or root.get("manifestVersion") != "1.0":
        problems.append("manifest root is not an asm.v1 assembly of version 1.0")
    identity = root.find(ASM_V1 + "assemblyIdentity")
    if identity is None:
        problems.append("no assemblyIdentity (Windows XP refuses the manifest)")
    else:
        wanted = {"type": "win32", "version": version, "processorArchitecture": "x86"}
        for key, value in wanted.items():
            if identity.get(key) != value:
                problems.append(f"assemblyIdentity {key}={identity.get(key)}, not {value}")
        if not identity.get("name"):
            problems.append("assemblyIdentity has no name")
    levels = root.findall(f"{ASM_V3}trustInfo/{ASM_V3}security/{ASM_V3}requestedPrivileges/"
                          f"{ASM_V3}requestedExecutionLevel")
    wanted_level = "requireAdministrator" if name.lower() in ELEVATED else "asInvoker"
    if len(levels) != 1 or levels[0].get("level") != wanted_level or levels[0].get("uiAccess") != "false":
        found = [(e.get("level"), e.get("uiAccess")) for e in levels]
        problems.append(f"execution level {found}, not one {wanted_level} without uiAccess (asm.v3 trustInfo)")
    found_os = {e.get("Id") for e in root.findall(f"{COMPAT}compatibility/{COMPAT}application/{COMPAT}supportedOS")}
    missing = [label for guid, label in SUPPORTED_OS.items() if guid not in found_os]
    if missing:
        problems.append("supportedOS lacks Windows " + ", ".join(missing))


def main():
    version, listing = sys.argv[1], sys.argv[2]
    files = [line.strip() for line in open(listing) if line.strip()]
    if not files:
        print(f"FAIL: no shipped files listed in {listing}")
        return 1
    failed = False
    for path in files:
        name = os.path.basename(path)
        problems = []
        with tempfile.TemporaryDirectory() as scratch:
            rsrc = extract_resources(path, scratch)
            check_version(name, rsrc, version, problems)
            if name.lower().endswith(".exe"):
                check_manifest(name, rsrc, version, problems)
        for problem in problems:
            print(f"FAIL: {name}: {problem}")
        failed = failed or bool(problems)
    if not failed:
        print(f"{len(files)} shipped files carry version {version}; the programs their manifests")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
