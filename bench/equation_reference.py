#!/usr/bin/env python3
"""Brute-force reference for the charade equation AB;A;B;|A|>=3;|B|>=3.

Reads a word list (one word a line), puts every word in a hash set, splits
every word at each place that leaves at least three letters on both sides
and prints `word;first;second` for each split whose halves are both words:
the answer vocor-cli equation 'AB;A;B;|A|>=3;|B|>=3' gives, in another
order.

    equation_reference.py WORDS [MIN_LENGTH]
"""
import sys


def main():
    path = sys.argv[1]
    least = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    with open(path, encoding="utf-8") as f:
        words = set(f.read().split("\n"))
    words.discard("")
    out = []
    for word in words:
        for i in range(least, len(word) - least + 1):
            a, b = word[:i], word[i:]
            if a in words and b in words:
                out.append(f"{word};{a};{b}\n")
    sys.stdout.write("".join(out))


if __name__ == "__main__":
    main()
