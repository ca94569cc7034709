#!/usr/bin/env python3
"""The release's PE header, which Wine ignores and Windows does not.

    check_header.py <exe> <epoch> [FIELD=VALUE...]

Checks that the exe is a 32-bit GUI program that Windows 2000 loads
(subsystem version at most 5.0), with address-space randomisation,
no-execute and Terminal Server awareness set, a valid checksum, and the time
stamp of the build's epoch (or 0). FIELD=VALUE pairs (timestamp, subsystem,
dllcharacteristics, checksum, subsystem_version) replace what the file
holds, so that the check's own test can show each refusal.
"""
import struct
import sys

IMAGE_FILE_MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B
SUBSYSTEM_WINDOWS_GUI = 2
FLAGS = {0x0040: "DYNAMIC_BASE", 0x0100: "NX_COMPAT", 0x8000: "TERMINAL_SERVER_AWARE"}


def pe_checksum(data, checksum_offset):
    """The checksum that Windows' CheckSumMappedFile computes: the file's
    16-bit words summed with end-around carry, the checksum field left out,
    plus the file's length."""
    padded = data + b"\0" * (len(data) % 2)  # an odd last byte is the low half of a word
    words = struct.unpack("<%dH" % (len(padded) // 2), padded)
    skip = checksum_offset // 2
    total = sum(words) - words[skip] - words[skip + 1]
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


def main(argv):
    exe, epoch = argv[1], int(argv[2])
    data = bytearray(open(exe, "rb").read())
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        print("FAILED: %s is not a PE file" % exe)
        return 1
    machine, _, timestamp = struct.unpack_from("<HHI", data, pe + 4)
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    fields = {
        "timestamp": timestamp,
        "subsystem_version": struct.unpack_from("<HH", data, opt + 48),
        "checksum": struct.unpack_from("<I", data, opt + 64)[0],
        "subsystem": struct.unpack_from("<H", data, opt + 68)[0],
        "dllcharacteristics": struct.unpack_from("<H", data, opt + 70)[0],
    }
    for pair in argv[3:]:  # the check's own test: a header as it must not be
        name, value = pair.split("=")
        fields[name] = tuple(int(v, 0) for v in value.split(".")) if "." in value else int(value, 0)

    failures = []
    if machine != IMAGE_FILE_MACHINE_I386 or magic != PE32_MAGIC:
        failures.append("not a 32-bit (i386, PE32) program: machine 0x%x, magic 0x%x" % (machine, magic))
    if fields["subsystem"] != SUBSYSTEM_WINDOWS_GUI:
        failures.append("subsystem %d, not the Windows GUI (2)" % fields["subsystem"])
    if tuple(fields["subsystem_version"]) > (5, 0):
        failures.append("subsystem version %d.%d: Windows 2000 loads 5.0 at most" % tuple(fields["subsystem_version"]))
    for bit, name in FLAGS.items():
        if not fields["dllcharacteristics"] & bit:
            failures.append("%s is not set" % name)
    expected = pe_checksum(bytes(data), opt + 64)
    if fields["checksum"] != expected:
        failures.append("checksum 0x%08x, the file's is 0x%08x" % (fields["checksum"], expected))
    if fields["timestamp"] not in (epoch, 0):
        failures.append("time stamp %d, not the build's epoch %d (nor 0)" % (fields["timestamp"], epoch))

    for failure in failures:
        print("FAILED: " + failure)
    if failures:
        return 1
    print("%s: PE header as the release needs it (i386 GUI, subsystem %d.%d, %s, checksum 0x%08x, time stamp %d)"
          % (exe, *fields["subsystem_version"], ", ".join(FLAGS.values()), expected, fields["timestamp"]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
