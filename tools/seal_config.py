#!/usr/bin/env python3
"""Seals a configuration text into the enciphered form that Pellory reads
(docs/config-format.md), written independently of the program's own code so
that the build also proves the format can be written from its description.

    seal_config.py PASSWORD INPUT OUTPUT [--iterations N] [--salt HEX] [--nonce HEX]

An empty PASSWORD copies the text unchanged. Salt and nonce are fresh random
bytes unless given (fixed ones only for reference files of the tests).
"""
import argparse
import os
import struct
import sys

from cryptography.hazmat.primitives import hashes
from cryptography.hazmat.primitives.ciphers.aead import AESGCM
from cryptography.hazmat.primitives.kdf.pbkdf2 import PBKDF2HMAC

MAGIC = b"PLYCFG"
VERSION = 1


def seal(text, password, iterations, salt, nonce):
    if not password:
        return text
    header = MAGIC + struct.pack("<BBI", VERSION, len(salt), iterations) + salt + nonce
    key = PBKDF2HMAC(algorithm=hashes.SHA256(), length=32, salt=salt, iterations=iterations).derive(password)
    return header + AESGCM(key).encrypt(nonce, text, header)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("password")
    parser.add_argument("input")
    parser.add_argument("output")
    parser.add_argument("--iterations", type=int, default=100_000)
    parser.add_argument("--salt", type=bytes.fromhex, default=None)
    parser.add_argument("--nonce", type=bytes.fromhex, default=None)
    args = parser.parse_args()
    salt = args.salt if args.salt is not None else os.urandom(16)
    nonce = args.nonce if args.nonce is not None else os.urandom(12)
    if not 16 <= len(salt) <= 64 or len(nonce) != 12 or not 1_000 <= args.iterations <= 10_000_000:
        sys.exit("seal_config.py: salt of 16 to 64 bytes, nonce of 12, iterations 1,000 to 10,000,000")
    with open(args.input, "rb") as source:
        text = source.read()
    sealed = seal(text, args.password.encode("gb18030"), args.iterations, salt, nonce)
    with open(args.output + ".part", "wb") as target:
        target.write(sealed)
    os.replace(args.output + ".part", args.output)


if __name__ == "__main__":
    main()
