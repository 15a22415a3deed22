#!/usr/bin/env python3
"""Checks the release folder that tools/release.sh writes from the built packages: winget's schemas accept its
manifests (skipped, and said so, where ../shared/winget-schema is absent), each installer entry's hash, product
code and upgrade code are those of the file in the folder, SHA256SUMS matches, and without a release address the
folder is marked as not publishable and names no download address.

    check-release.py REPOSITORY
"""
import hashlib
import os
import subprocess
import sys
import tempfile

import yaml

BASE = "https://downloads.example.com/tarnctx/"


def release(repository, folder, url):
    environment = dict(os.environ)
    environment.pop("TARNCTX_RELEASE_URL", None)
    if url:
        environment["TARNCTX_RELEASE_URL"] = url
    return subprocess.run([os.path.join(repository, "tools", "release.sh"), "--no-build", "--out", folder],
                          env=environment, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, check=True).stdout


def msi_property(package, name):
    table = subprocess.run(["msiinfo", "export", package, "Property"], stdout=subprocess.PIPE, text=True, check=True)
    return dict(line.split("\t", 1) for line in table.stdout.splitlines() if "\t" in line)[name].strip()


def sha256(path):
    with open(path, "rb") as stream:
        return hashlib.sha256(stream.read()).hexdigest()


def manifests(folder):
    version_folders = os.path.join(folder, "manifests", "v", "Velmora", "Tarnwick")
    (version,) = os.listdir(version_folders)
    path = os.path.join(version_folders, version)
    with open(os.path.join(path, "Velmora.Tarnwick.installer.yaml"), encoding="utf-8") as stream:
        return path, version, yaml.safe_load(stream)


def check_published(repository, folder, failures):
    output = release(repository, folder, BASE)
    path, version, installer = manifests(folder)
    architectures = [entry["Architecture"] for entry in installer["Installers"]]
    expected = ["x86", "x64"] + (["arm64"] if os.path.isdir(os.path.join(repository, "build", "arm64")) else [])
    if architectures != expected:
        failures.append(f"installer entries for {architectures}, built {expected}")
    for entry in installer["Installers"]:
        name = f"tarnctx-{version}-{entry['Architecture']}.msi"
        package = os.path.join(folder, name)
        checks = [("InstallerSha256", entry["InstallerSha256"], sha256(package).upper()),
                  ("ProductCode", entry["ProductCode"], msi_property(package, "ProductCode")),
                  ("UpgradeCode", entry["AppsAndFeaturesEntries"][0]["UpgradeCode"], msi_property(package, "UpgradeCode")),
                  ("InstallerUrl", entry["InstallerUrl"], BASE + name)]
        failures += [f"{name}: {what} {got}, the file's {want}" for what, got, want in checks if got != want]
    if installer["PackageVersion"] != version or not version.startswith("3."):
        failures.append(f"package version {installer['PackageVersion']} in folder {version}")
    sums = subprocess.run(["sha256sum", "--check", "--strict", "SHA256SUMS"], cwd=folder, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True)
    listed = sorted(line.split()[1] for line in open(os.path.join(folder, "SHA256SUMS"), encoding="utf-8"))
    shipped = sorted(f for f in os.listdir(folder) if f.endswith((".msi", ".msix")))
    if sums.returncode != 0 or listed != shipped or not any(f.endswith(".msix") for f in shipped):
        failures.append(f"SHA256SUMS lists {listed} for {shipped}: {sums.stdout}")
    validator = os.path.join(repository, "..", "shared", "winget-schema", "validate")
    if not os.access(validator, os.X_OK):
        print(f"SKIPPED: no winget schema validator at {validator}; the manifests were NOT checked against the schemas")
        return False
    result = subprocess.run([validator, path], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if result.returncode != 0:
        failures.append("winget's schemas refuse the manifests:\n" + result.stdout + output)
    return True


def check_unpublishable(repository, folder, failures):
    output = release(repository, folder, None)
    path, _, installer = manifests(folder)
    marker = os.path.join(folder, "NOT-PUBLISHABLE")
    if not os.path.isfile(marker) or "TARNCTX_RELEASE_URL" not in open(marker, encoding="utf-8").read():
        failures.append("without a release address the folder is not marked NOT-PUBLISHABLE")
    if "NOT PUBLISHABLE" not in output or "TARNCTX_RELEASE_URL" not in output:
        failures.append("without a release address the command does not say so:\n" + output)
    if any("InstallerUrl" in entry for entry in installer["Installers"]):
        failures.append("without a release address the manifest names one")


def main(argv):
    if len(argv) != 2:
        raise SystemExit(__doc__)
    failures = []
    with tempfile.TemporaryDirectory() as work:
        validated = check_published(argv[1], os.path.join(work, "published"), failures)
        check_unpublishable(argv[1], os.path.join(work, "unpublishable"), failures)
    for failure in failures:
        print(f"check-release: {failure}", file=sys.stderr)
    if failures:
        return 1
    print("release folder: hashes, product and upgrade codes match the files; without an address it is marked")
    return 0 if validated else 77


if __name__ == "__main__":
    sys.exit(main(sys.argv))
