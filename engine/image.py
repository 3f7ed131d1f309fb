#!/usr/bin/env python3
"""Makes the engine image the program carries.

  image.py pad DLL OUT SIZE   copies DLL to OUT with zeros after it up to SIZE bytes;
                              fails when DLL is larger than SIZE
  image.py standin OUT SIZE   writes the host build's stand-in (see skin_data.cpp)
"""
import sys


def main():
    mode = sys.argv[1]
    if mode == "pad":
        source, out, size = sys.argv[2], sys.argv[3], int(sys.argv[4])
        data = open(source, "rb").read()
        if len(data) > size:
            sys.exit("image.py: %s is %d bytes, %d more than the %d the program carries"
                     % (source, len(data), len(data) - size, size))
        data += bytes(size - len(data))
    elif mode == "standin":
        out, size = sys.argv[2], int(sys.argv[3])
        text = b"MZ quorvel host build: stand-in for the engine image, no Windows code\0"
        data = text + bytes(size - len(text))
    else:
        sys.exit("image.py: unknown mode " + mode)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
