"""check_input_slots.py OBJDUMP OBJECT: fails unless the probe's table of operations
holds the input interface's twelve operations in their fixed order, and, on 32-bit
Windows, the callback is stdcall. A plug-in built by another compiler finds them only
by position."""
import re
import subprocess
import sys

SLOTS = ["Reserved0", "SetOutput", "SetCallback", "Open", "Close", "GetState", "Play", "Stop", "Pause",
         "Resume", "Seek", "SetVolume"]


def main(objdump, obj):
    dump = subprocess.run([objdump, "-r", obj], capture_output=True, text=True, check=True).stdout
    table = dump.split("RELOCATION RECORDS FOR [.rdata$_ZTV9SlotProbe]:", 1)[1].split("\n\n", 1)[0]
    entries = re.findall(r"_ZN9SlotProbe(\d+)(\w+)", table)
    names = [rest[:int(length)] for length, rest in entries]
    if names != SLOTS:
        sys.exit(f"input interface slots are {names}, not {SLOTS}")
    if "pe-i386" in dump and "stdcall" not in dump:
        sys.exit("the playback callback is not stdcall")


if __name__ == "__main__":
    main(*sys.argv[1:])
