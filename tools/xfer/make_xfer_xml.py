#!/usr/bin/env python3
"""Writes res/xfer.xml, the conversion table between the bytes of patch records and the values
of the patch editor. Run it again only when a conversion must change, and check the output in.

Every program is written out statement by statement, one statement per line. The number of
bytes (values) of an element is one more than the number of ';' in its values-to-bytes
(bytes-to-values) program, so statements are joined by ';' with none after the last one, and
no program carries a comment.
"""
import os
import sys


def ids(*spans):
    out = []
    for span in spans:
        if isinstance(span, tuple):
            out.extend(range(span[0], span[1] + 1))
        else:
            out.append(span)
    return out


# Kinds of element; each maps an element to (values-to-bytes, bytes-to-values) statements.

def plain_byte():
    return None, None


def word_statements(v, hi, lo):
    return [f'b{hi} = ipart(v{v}/256)', f'b{lo} = mod(v{v}, 256)']


def word_value(hi, lo):
    return f'b{hi}*256 + b{lo}'


def word():
    return word_statements(0, 0, 1), [f'v0 = {word_value(0, 1)}']


def tens():
    return ['b0 = v0/10'], ['v0 = b0*10']


def signed_byte_value(b):
    return f'if(below(b{b}, 128), b{b}, b{b} - 256)'


def signed_byte():
    return ['b0 = v0'], [f'v0 = {signed_byte_value(0)}']


def flags():
    aggr = ['v0 = mod(b0, 2)']
    for k in range(1, 7):
        aggr.append(f'v{k} = equal(mod(b0, 2^{k + 1}) - mod(b0, 2^{k}), 2^{k})')
    return ['b0 = poly(2, v6, v5, v4, v3, v2, v1, v0)'], aggr


# A word scaled to 0..5000.
def scaled_degr(v, hi, lo):
    return [f'b{hi} = ipart(65535*v{v}/5000/256)', f'b{lo} = mod(65535*v{v}/5000, 256)']


def scaled_aggr(v, hi, lo):
    return f'v{v} = 5000*({word_value(hi, lo)})/65535'


# A word in 1/divisor; the value is rounded to the nearest step, since a typed 0.29 times 100
# is 28.999999999999996 and would otherwise be stored as 28.
def fraction_degr(v, hi, lo, divisor):
    steps = f'ipart({divisor}*v{v} + 0.5)'
    return [f'b{hi} = ipart({steps}/256)', f'b{lo} = mod({steps}, 256)']


def fraction_aggr(v, hi, lo, divisor):
    return f'v{v} = ({word_value(hi, lo)})/{divisor}'


def scaled_and_plain():
    degr = scaled_degr(0, 0, 1) + word_statements(1, 2, 3)
    aggr = [scaled_aggr(0, 0, 1), f'v1 = {word_value(2, 3)}']
    return degr, aggr


def scaled_and_hundredths():
    degr, aggr = [], []
    for k in range(6):
        degr += scaled_degr(k, 2 * k, 2 * k + 1)
        aggr.append(scaled_aggr(k, 2 * k, 2 * k + 1))
    for k in range(6, 12):
        degr += fraction_degr(k, 2 * k, 2 * k + 1, 100)
        aggr.append(fraction_aggr(k, 2 * k, 2 * k + 1, 100))
    return degr, aggr


def scaled_and_signed_bytes():
    degr, aggr = [], []
    for k in range(10):
        degr += scaled_degr(k, 2 * k, 2 * k + 1)
        aggr.append(scaled_aggr(k, 2 * k, 2 * k + 1))
    for k in range(10, 20):
        b = k + 10
        degr.append(f'b{b} = v{k}')
        aggr.append(f'v{k} = {signed_byte_value(b)}')
    return degr, aggr


# Ten trouble codes, each two bytes and six values: the letter's character code, four digit
# characters and a terminating 0.
def trouble_codes():
    degr, aggr = [], []
    for j in range(10):
        first, second = 2 * j, 2 * j + 1
        v = 6 * j
        aggr += [
            f'v{v} = if(below(b{first}, 64), 80, if(below(b{first}, 128), 67, '
            f'if(below(b{first}, 192), 66, 85)))',
            f'v{v + 1} = 48 + ipart(mod(b{first}, 64)/16)',
            f'v{v + 2} = 48 + mod(b{first}, 16)',
            f'v{v + 3} = 48 + ipart(b{second}/16)',
            f'v{v + 4} = 48 + mod(b{second}, 16)',
            f'v{v + 5} = 0',
        ]
        degr += [
            f'b{first} = if(equal(v{v}, 80), 0, if(equal(v{v}, 67), 64, if(equal(v{v}, 66), 128, 192)))'
            f' + (v{v + 1} - 48)*16 + (v{v + 2} - 48)',
            f'b{second} = (v{v + 3} - 48)*16 + (v{v + 4} - 48)',
        ]
    return degr, aggr


def signed_word_degr(v, hi, lo):
    unsigned = f'if(below(v{v}, 0), v{v} + 65536, v{v})'
    return [f'b{hi} = ipart({unsigned}/256)', f'b{lo} = mod({unsigned}, 256)']


def signed_word_aggr(v, hi, lo):
    return f'v{v} = if(below(b{hi}, 128), {word_value(hi, lo)}, {word_value(hi, lo)} - 65536)'


def word_thousandths_signed():
    degr = (word_statements(0, 0, 1) + fraction_degr(1, 2, 3, 1000) + signed_word_degr(2, 4, 5) +
            signed_word_degr(3, 6, 7))
    aggr = [f'v0 = {word_value(0, 1)}', fraction_aggr(1, 2, 3, 1000), signed_word_aggr(2, 4, 5),
            signed_word_aggr(3, 6, 7)]
    return degr, aggr


KINDS = [
    (plain_byte, ids(0x04, 0x05, 0x07, 0x0D, 0x19, (0x2A, 0x3F), 0x49, 0x4A, 0x4D, 0x4E, 0x50)),
    (word, ids(0x06, (0x08, 0x0C), 0x0F, 0x10, (0x11, 0x18), (0x1A, 0x1F), (0x21, 0x29), 0x47, 0x48)),
    (tens, ids(0x0E)),
    (signed_byte, ids(0x4B, 0x4C)),
    (flags, ids(0x46)),
    (scaled_and_plain, ids(0x41, 0x42)),
    (scaled_and_hundredths, ids(0x43)),
    (scaled_and_signed_bytes, ids(0x44, 0x45)),
    (trouble_codes, ids(0x4F)),
    (word_thousandths_signed, ids(0x51)),
]


def program(tag, statements):
    body = ';\n'.join(f'        {s}' for s in statements)
    return f'    <{tag}>\n{body}\n    </{tag}>\n'


def element(element_id, degr, aggr):
    head = f'  <element id="{element_id:02X}"'
    if degr is None and aggr is None:
        return head + '/>\n'
    return head + '>\n' + program('degr', degr) + program('aggr', aggr) + '  </element>\n'


def document():
    by_id = {}
    for kind, element_ids in KINDS:
        for element_id in element_ids:
            if element_id in by_id:
                sys.exit(f'id {element_id:02X} belongs to two kinds')
            by_id[element_id] = kind()
    text = ('<?xml version="1.0" encoding="iso-8859-1"?>\n'
            '<!-- Written by tools/xfer/make_xfer_xml.py; change the script, not this file. -->\n'
            '<xfers>\n')
    for element_id in sorted(by_id):
        text += element(element_id, *by_id[element_id])
    return text + '</xfers>\n', len(by_id)


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    text, count = document()
    with open(os.path.join(root, 'res', 'xfer.xml'), 'w', newline='\n', encoding='ascii') as out:
        out.write(text)
    print(f'{count} elements written')


if __name__ == '__main__':
    main()
