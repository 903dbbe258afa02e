"""Seals and opens sync record bodies with Python's cryptography package, as an independent
check of the planner's own sealing.

    sealing_check.py seal PHRASE BODY_JSON   prints the base64 text of the sealed body
    sealing_check.py open PHRASE TEXT        prints the body JSON the text holds
"""
import base64
import os
import sys

from cryptography.hazmat.primitives import hashes
from cryptography.hazmat.primitives.ciphers.aead import AESGCM
from cryptography.hazmat.primitives.kdf.hkdf import HKDF


def key(phrase):
    hkdf = HKDF(algorithm=hashes.SHA256(), length=32, salt=b"vemqa.salt.k7", info=b"")
    return hkdf.derive(phrase.strip().encode("utf-8"))


def seal(phrase, body):
    nonce = os.urandom(12)
    sealed = AESGCM(key(phrase)).encrypt(nonce, body.encode("utf-8"), None)
    return base64.b64encode(nonce + sealed).decode("ascii")


def open_box(phrase, text):
    box = base64.b64decode(text, validate=True)
    return AESGCM(key(phrase)).decrypt(box[:12], box[12:], None).decode("utf-8")


def main():
    mode, phrase, value = sys.argv[1:4]
    result = seal(phrase, value) if mode == "seal" else open_box(phrase, value)
    sys.stdout.buffer.write(result.encode("utf-8"))


if __name__ == "__main__":
    main()
