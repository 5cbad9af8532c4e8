#!/usr/bin/env python3
"""Writes the small printer streams the zebl tool is tested with.

Run it from this folder after changing it: python3 make_streams.py

mono_job.prn      one 300 dpi page of 20 x 10 dots with one raw band (band 1,
                  24 dots x 4 lines, lines 4 to 7 of the page): 4 dots, one of
                  them right of the page.
bad_checksum.prn  the same job with the band checksum one too high.
"""

UEL = b"\x1b%-12345X"

def be16(v):
    return bytes([(v >> 8) & 0xFF, v & 0xFF])

def be32(v):
    return bytes([(v >> 24) & 0xFF, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF])

def mono_job(checksum_delta=0):
    data = bytes([0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xF7, 0xFF, 0xFF, 0xEF, 0xFE, 0xFF, 0xFF])
    job = UEL + b"@PJL SET RET = OFF\r\n@PJL ENTER LANGUAGE = ZEBL\r\n"
    # Page header: 300 dpi, 1 copy, paper code 2, 20 x 10 dots, source 1.
    job += bytes([0x00, 3]) + be16(1) + bytes([2]) + be16(20) + be16(10)
    job += bytes([1, 0, 0, 0, 0, 1, 0, 0])
    # Band 1: 24 dots, 4 lines, plane 4, raw.
    job += bytes([0x0C, 1]) + be16(24) + be16(4) + bytes([4, 0x0A]) + be32(len(data) + 4)
    job += data + be32(sum(data) + checksum_delta) + b"\x00"
    job += b"\x01" + be16(1) + b"\x09" + UEL
    return job

if __name__ == "__main__":
    with open("mono_job.prn", "wb") as f:
        f.write(mono_job())
    with open("bad_checksum.prn", "wb") as f:
        f.write(mono_job(1))
