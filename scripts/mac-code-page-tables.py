#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the tables of help/MacCodePages.cpp: bytes 0x80 to 0xFF of the
# Macintosh code pages that no converter on common systems knows, or knows
# otherwise than Apple (glibc's MAC-IS is not Mac Icelandic), from Apple's
# mapping tables as the Unicode Consortium publishes them
# (MAPPINGS/VENDORS/APPLE/*.TXT). Python's codecs are generated from those
# files; Perl's Encode module compiles them too and has the two that Python
# lacks (Hebrew, Thai). Apple's transcoding hints (U+F860 to U+F87F) go; a
# byte the code page leaves undefined gives U+FFFD.
#   scripts/mac-code-page-tables.py > tables.inc
import codecs
import subprocess

PAGES = [  # code page, name in the code, Python codec, Perl encoding
    (10004, "Arabic", "mac_arabic", "MacArabic"),
    (10005, "Hebrew", None, "MacHebrew"),
    (10010, "Romanian", "mac_romanian", "MacRomanian"),
    (10021, "Thai", None, "MacThai"),
    (10079, "Icelandic", "mac_iceland", "MacIcelandic"),
    (10082, "Croatian", "mac_croatian", "MacCroatian"),
]


def by_python(codec):
    return [bytes([b]).decode(codec, errors="replace") for b in range(0x80, 0x100)]


def by_perl(encoding):
    script = ('binmode STDOUT, ":utf8"; for my $b (0x80..0xFF) '
              '{ print Encode::decode("%s", chr($b)), "\\n" }' % encoding)
    out = subprocess.run(["perl", "-MEncode", "-e", script], capture_output=True,
                         check=True).stdout.decode("utf-8")
    return out.split("\n")[:128]


def literal(text):
    kept = [c for c in text if not 0xF860 <= ord(c) <= 0xF87F]
    return 'u"' + "".join("\\u%04X" % ord(c) for c in kept) + '"'


for page, name, codec, encoding in PAGES:
    chars = by_python(codec) if codec else by_perl(encoding)
    source = "Python's %s" % codec if codec else "Perl's %s" % encoding
    print("// %s (%d), after %s" % (name, page, source))
    print("constexpr MacTable k%s = {" % name)
    for row in range(0, 128, 8):
        print("    " + ", ".join(literal(c) for c in chars[row:row + 8]) + ",")
    print("};\n")
