"""The protections a security review reads off a Windows program, read here from its own
headers, sections, load configuration and code with pefile, as BinSkim's rules that need
only the image do. One line per program and protection; a protection missing from one of
our programs is a fault (exit 1), one missing from a program that comes from NSIS is said,
as it cannot be changed here.
  protections.py OURS|NSIS FILE...
"""
import re
import subprocess
import sys

import pefile

DYNAMIC_BASE, HIGH_ENTROPY_VA, NX_COMPAT, NO_SEH, GUARD_CF = 0x40, 0x20, 0x100, 0x400, 0x4000
RELOCS_STRIPPED = 0x1
WRITE, EXECUTE, SHARED = 0x80000000, 0x20000000, 0x10000000
CF_INSTRUMENTED = 0x100
DEBUG_TYPE_EX_DLLCHARACTERISTICS, CET_COMPAT = 20, 0x1
# The stack cookie's failure: __fastfail(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE), that is
# mov ecx, 2; int 0x29.
COOKIE_FAST_FAIL = bytes.fromhex("b902000000cd29")
NUL = b"\0"

faults = []


def said(ours, name, held, detail):
    if held:
        print(f"  {name}: yes{detail and ' (' + detail + ')'}")
    elif ours:
        faults.append(name)
        print(f"FAIL: {name}: no{detail and ' (' + detail + ')'}")
    else:
        print(f"  {name}: no, as NSIS's stub is built{detail and ' (' + detail + ')'}")


def cookie_checks(pe):
    """The calls to the routine that fast-fails with the cookie's code, counted over the code
    sections: each is a function's check of its cookie on the way out. The routine starts
    at most 16 bytes before that instruction (its frame set up)."""
    code = [s for s in pe.sections if s.Characteristics & EXECUTE]
    for section in code:
        data = section.get_data()
        at = data.find(COOKIE_FAST_FAIL)
        if at < 0:
            continue
        routine = section.VirtualAddress + at
        calls = 0
        for caller in code:
            text = caller.get_data()
            for call in re.finditer(b"\xe8", text):
                rel = int.from_bytes(text[call.start() + 1:call.start() + 5], "little", signed=True)
                target = caller.VirtualAddress + call.start() + 5 + rel
                calls += routine - 16 <= target <= routine
        return calls
    return 0


def exception_list_uses(path):
    """The instructions that name the fs segment, where a 32-bit thread's exception list
    starts (fs:[0]); a frame-based handler is registered by writing it. Reading fs:[0x18],
    the thread's own block, for its stack bounds, is all a program that registers none needs."""
    listing = subprocess.run(["i686-w64-mingw32-objdump", "-d", path], capture_output=True, text=True, check=True).stdout
    return [line.strip() for line in listing.splitlines()
            if "%fs:" in line and not re.search(r"\tmov +%fs:0x18,%e[a-z]+$", line)]


def check(ours, path):
    pe = pefile.PE(path)
    header = pe.OPTIONAL_HEADER
    flags = header.DllCharacteristics
    wide = pe.FILE_HEADER.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]
    print(f"{path} ({'64' if wide else '32'}-bit, DllCharacteristics {flags:#06x}):")
    relocations = header.DATA_DIRECTORY[5].Size
    said(ours, "ASLR", flags & DYNAMIC_BASE and relocations and not pe.FILE_HEADER.Characteristics & RELOCS_STRIPPED,
         f"dynamic base {'set' if flags & DYNAMIC_BASE else 'not set'}, {relocations} bytes of relocations")
    said(ours, "DEP", flags & NX_COMPAT, "")
    if wide:
        said(ours, "high-entropy VA", flags & HIGH_ENTROPY_VA, "")
    bad = [f"{s.Name.rstrip(NUL).decode()} {'executable' if s.Characteristics & EXECUTE else 'shared'}"
           for s in pe.sections if s.Characteristics & WRITE and s.Characteristics & (EXECUTE | SHARED)]
    said(ours, "no section both writable and executable or shared", not bad, ", ".join(bad) and "writable: " + ", ".join(bad))
    config = getattr(getattr(pe, "DIRECTORY_ENTRY_LOAD_CONFIG", None), "struct", None)
    if not wide:
        handlers = getattr(config, "SEHandlerCount", 0)
        said(ours, "SEH mark", flags & NO_SEH or handlers,
             "NO_SEH" if flags & NO_SEH else f"a table of {handlers} handlers" if handlers else "")
        if flags & NO_SEH and ours:
            uses = exception_list_uses(path)
            said(ours, "no frame-based handler registered", not uses, "; ".join(uses))
    calls = cookie_checks(pe)
    said(ours, "stack cookie", calls, f"{calls} functions check it and fast-fail" if calls else "")
    guard = getattr(config, "GuardFlags", 0) & CF_INSTRUMENTED and config.GuardCFCheckFunctionPointer
    if flags & GUARD_CF and not guard:
        faults.append("Control Flow Guard")
        print("FAIL: Control Flow Guard: marked in the header, but the load configuration has no guard")
    else:
        print(f"  Control Flow Guard: {'yes' if guard else 'no'}"
              f"{'' if guard else ' (no toolchain of Debian 12 or 13 builds it: docs/security.md)' if ours else ''}")
    cet = any(d.struct.Type == DEBUG_TYPE_EX_DLLCHARACTERISTICS and
              pe.get_dword_at_rva(d.struct.AddressOfRawData) & CET_COMPAT
              for d in getattr(pe, "DIRECTORY_ENTRY_DEBUG", []))
    print(f"  CET shadow stack compatible: {'yes' if cet else 'no'}"
          f"{'' if cet else ' (GNU ld cannot mark it: docs/security.md)' if ours else ''}")


if __name__ == "__main__":
    for f in sys.argv[2:]:
        check(sys.argv[1] == "OURS", f)
    sys.exit(1 if faults else 0)
