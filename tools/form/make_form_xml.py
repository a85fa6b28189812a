#!/usr/bin/env python3
"""Writes res/form2022.xml, the form of the patch editor page, and res/form.rc, which embeds it
with the English texts of its labels. Run it again only when the form must change, and check
both outputs in.

Each parameter element stands for the patch record of the same id, so its fields give exactly
as many editor values as res/xfer.xml converts for that id, and of a kind the conversion can
hold: a plain byte 0..255, a word 0..65535, a byte in tens, a signed byte, flag bits, scaled
words. Label texts take string ids from 15396 to 15516; a text used twice keeps one id.
"""
import os
import sys

FIRST_TEXT_ID = 15396
LAST_TEXT_ID = 15516
# Ids inside the range that the program's string table holds for other texts.
TAKEN_TEXT_IDS = {15397, 15420, 15421, 15423, 15505, 15511}

DEGREES = '\u00b0C'
MICROSECONDS = '\u00b5s'

# The scaled words of the conversion table hold 0..5000 in 65535 steps; a voltage point that is
# not a whole step would come back from a patch as a different number and mark its element
# changed, so the points are whole steps (written as the shortest text that reads back exactly).
def scaled_step(millivolts):
    word = round(millivolts * 65535 / 5000)
    return 5000 * word / 65535


def number(unit, minimum, maximum, default, precision=0):
    return ('edit', unit, minimum, maximum, default, precision)


def byte(unit, minimum, maximum, default):
    return number(unit, minimum, maximum, default)


def word(unit, minimum, maximum, default):
    return number(unit, minimum, maximum, default)


def signed_byte(unit, default):
    return number(unit, -128, 127, default)


def select(default, *items):
    return ('select', default, list(items))


OFF_ON = ('Off', 'On')


def switch(default):
    return select(default, *OFF_ON)


def grid(*lines):
    return ('grid', list(lines))


def line(label, unit, minimum, maximum, precision, data):
    return (label, unit, minimum, maximum, precision, list(data))


def voltage_line(data):
    return line('Voltage', 'mV', 0, 5000, 0, [scaled_step(v) for v in data])


def signed_percent_line(data):
    return line('Correction', '%', -128, 127, 0, data)


TEN_VOLTAGES = [500 * k for k in range(1, 11)]

# Sections of the page, separated by lines; each entry: (id, label, field or fields).
SECTIONS = [
    [  # change-over to gas
        (0x2A, 'Change-over type', select(0, 'Normal', 'Cutoff', 'Synchronized')),
        (0x2C, 'Start in', select(0, 'Petrol', 'Gas')),
        (0x08, 'Change-over at engine speed', word('1/min', 0, 8000, 1500)),
        (0x07, 'Change-over at reducer temperature', byte(DEGREES, 0, 120, 35)),
        (0x09, 'Change-over at gas pressure', word('mbar', 0, 5000, 800)),
        (0x0A, 'Change-over delay after start', word('s', 0, 600, 30)),
        (0x0B, 'Overlapping time', word('ms', 0, 5000, 250)),
        (0x06, 'Delay between cylinders at change-over', word('ms', 0, 1000, 100)),
        (0x2B, 'Change-over only with active lambda control', switch(0)),
    ],
    [  # return to petrol
        (0x0C, 'Return at gas pressure below', word('mbar', 0, 5000, 500)),
        (0x10, 'Low gas pressure time', word('ms', 0, 10000, 1500)),
        (0x0F, 'Return at engine speed above', word('1/min', 0, 12000, 6500)),
        (0x0D, 'Return at reducer temperature below', byte(DEGREES, 0, 120, 15)),
        (0x2D, 'Return at empty tank', switch(1)),
        (0x2E, 'Back to gas automatically after return', switch(0)),
    ],
    [  # gas pressure
        (0x11, 'Nominal gas pressure', word('mbar', 0, 5000, 1200)),
        (0x12, 'High gas pressure limit', word('mbar', 0, 5000, 2500)),
        (0x13, 'Low gas pressure limit', word('mbar', 0, 5000, 700)),
        (0x2F, 'Gas pressure sensor type', select(0, 'Type A', 'Type B')),
        (0x30, 'Gas pressure relative to intake manifold', switch(1)),
        (0x41, 'MAP sensor, low point',
         grid(voltage_line([1000]), line('Pressure', 'mbar', 0, 65535, 0, [300]))),
        (0x42, 'MAP sensor, high point',
         grid(voltage_line([4000]), line('Pressure', 'mbar', 0, 65535, 0, [1000]))),
        (0x43, 'Gas pressure sensor curve',
         grid(voltage_line([0, 1000, 2000, 3000, 4000, 5000]),
              line('Pressure', 'bar', 0, 655.35, 2, [0, 0.7, 1.4, 2.1, 2.8, 3.5]))),
    ],
    [  # temperatures
        (0x31, 'Reducer temperature sensor type', select(0, 'Type A', 'Type B')),
        (0x32, 'Gas temperature sensor type', select(1, 'Type A', 'Type B')),
        (0x19, 'Maximum gas temperature', byte(DEGREES, 0, 150, 90)),
        (0x14, 'Temperature filter time', word('ms', 0, 10000, 500)),
        (0x44, 'Gas temperature correction',
         grid(voltage_line(TEN_VOLTAGES), signed_percent_line([8, 6, 4, 2, 0, 0, -2, -4, -6, -8]))),
    ],
    [  # injection
        (0x04, 'Turbocharged engine', switch(0)),
        (0x33, 'Injection mode', select(0, 'Sequential', 'Full group')),
        (0x34, 'Gas injector type', select(0, 'Type A', 'Type B')),
        (0x05, 'Number of cylinders', byte('', 1, 8, 4)),
        (0x15, 'Minimal injection time', word(MICROSECONDS, 0, 10000, 1500)),
        (0x16, 'Injector opening delay', word(MICROSECONDS, 0, 5000, 1800)),
        (0x17, 'Maximal injection time', word(MICROSECONDS, 0, 50000, 25000)),
        (0x18, 'Cold start enrichment', word('%', 0, 200, 20)),
        (0x4B, 'Mixture correction, bank 1', signed_byte('%', 0)),
        (0x4C, 'Mixture correction, bank 2', signed_byte('%', 0)),
        (0x45, 'Gas pressure correction',
         grid(voltage_line(TEN_VOLTAGES), signed_percent_line([-6, -4, -2, 0, 0, 0, 2, 3, 4, 5]))),
        (0x51, 'Injection time model',
         grid(line('Reference pressure', 'mbar', 0, 65535, 0, [1000]),
              line('Gain', '', 0, 65.535, 3, [1]),
              line('Offset', MICROSECONDS, -32768, 32767, 0, [0]),
              line('Cold engine offset', MICROSECONDS, -32768, 32767, 0, [400]))),
    ],
    [  # lambda control
        (0x35, 'Oxygen sensor type', select(1, 'None', 'Narrowband', 'Broadband 1 V', 'Broadband 5 V')),
        (0x36, 'Second oxygen sensor', switch(0)),
        (0x37, 'Lambda control in gas mode', switch(1)),
        (0x1A, 'Rich threshold', word('mV', 0, 5000, 600)),
        (0x1B, 'Lean threshold', word('mV', 0, 5000, 300)),
        (0x1C, 'Lambda control delay', word('ms', 0, 60000, 3000)),
    ],
    [  # engine speed
        (0x38, 'Type of rev signal', select(0, 'Ignition coil', 'Rev sensor', 'Petrol injector')),
        (0x39, 'Rev signal filter', switch(1)),
        (0x0E, 'Idle speed', number('1/min', 0, 2550, 800)),
        (0x1D, 'Engine speed limit in gas mode', word('1/min', 0, 12000, 6000)),
        (0x1E, 'Cut-off recovery speed', word('1/min', 0, 5000, 1400)),
        (0x3A, 'Cut-off in gas mode', switch(1)),
    ],
    [  # tank and gas level
        (0x3D, 'Gas type', select(0, 'LPG', 'CNG')),
        (0x3B, 'Gas level sensor type', select(1, 'None', 'Resistive', 'Voltage')),
        (0x3C, 'Tank valve type', select(0, 'Normal', 'Pulse width modulated')),
        (0x49, 'Gas level reserve', byte('%', 0, 100, 15)),
        (0x1F, 'Tank valve opening delay', word('ms', 0, 5000, 200)),
        (0x21, 'Gas level filter time', word('s', 0, 600, 30)),
    ],
    [  # vaporizer and lubrication
        (0x3F, 'Vaporizer valve power saving', switch(1)),
        (0x4A, 'Vaporizer valve hold ratio', byte('%', 0, 100, 40)),
        (0x24, 'Vaporizer valve hold delay', word('ms', 0, 5000, 500)),
        (0x3E, 'Ventil lubrication pump type', select(0, 'No pump installed', 'Type A', 'Type B')),
        (0x22, 'Ventil lubrication interval', word('s', 0, 3600, 60)),
        (0x23, 'Ventil lubrication dose', word('ms', 0, 5000, 50)),
    ],
    [  # diagnosis
        (0x46, 'Diagnosis checks',
         [('check', name, default) for name, default in [
             ('Tank valve', 1), ('Vaporizer valve', 1), ('Gas injectors', 1), ('Gas pressure sensor', 1),
             ('Temperature sensors', 1), ('Petrol injection signal', 1), ('Battery voltage', 0)]]),
        (0x4D, 'Malfunction indicator in gas mode', switch(1)),
        (0x4E, 'Report gas faults over OBD', switch(0)),
        (0x50, 'Acoustic signal', switch(1)),
        (0x25, 'Battery low threshold', word('mV', 0, 20000, 11000)),
        (0x26, 'Battery high threshold', word('mV', 0, 20000, 15500)),
        (0x27, 'Short circuit threshold', word('mV', 0, 5000, 200)),
        (0x28, 'Broken wire threshold', word('mV', 0, 5000, 4800)),
        (0x29, 'Fault confirmation time', word('ms', 0, 10000, 1000)),
        (0x47, 'Service interval', word('h', 0, 10000, 500)),
        (0x48, 'Self test duration', word('ms', 0, 10000, 2000)),
        (0x4F, 'Trouble codes not reported', [('code', 'Trouble code')] * 10),
    ],
]


class Texts:
    def __init__(self):
        self.free = [i for i in range(FIRST_TEXT_ID, LAST_TEXT_ID + 1) if i not in TAKEN_TEXT_IDS]
        self.by_text = {}

    def id(self, text):
        if text not in self.by_text:
            if len(self.by_text) == len(self.free):
                sys.exit('more label texts than free string ids')
            self.by_text[text] = self.free[len(self.by_text)]
        return self.by_text[text]


def num(value):
    if isinstance(value, float):
        if value.is_integer():
            return str(int(value))
        return repr(value)
    return str(value)


def unit_tag(unit):
    return f'<unit>{unit}</unit>' if unit else ''


def edit_value(field):
    _, _, minimum, maximum, default, precision = field
    return (f'<value type="edit"><min>{num(minimum)}</min><max>{num(maximum)}</max>'
            f'<precision>{precision}</precision><default>{num(default)}</default></value>')


def select_value(field, texts):
    _, default, items = field
    body = ''.join(f'<item value="{value}">{texts.id(item)}</item>' for value, item in enumerate(items))
    return f'<value type="select">{body}<default>{default}</default></value>'


def grid_value(field, texts, indent):
    out = f'<value type="grid">\n'
    for label, unit, minimum, maximum, precision, data in field[1]:
        out += (f'{indent}    <line><text>{texts.id(label)}</text>{unit_tag(unit)}<min>{num(minimum)}</min>'
                f'<max>{num(maximum)}</max><precision>{precision}</precision>'
                f'<data>{",".join(num(v) for v in data)}</data></line>\n')
    return out + f'{indent}  </value>'


def single_field(field, texts):
    indent = '    '
    kind = field[0]
    if kind == 'edit':
        return f'{indent}<field>{unit_tag(field[1])}{edit_value(field)}</field>\n'
    if kind == 'select':
        return f'{indent}<field>{select_value(field, texts)}</field>\n'
    return f'{indent}<field>\n{indent}  {grid_value(field, texts, indent)}\n{indent}</field>\n'


def listed_field(field, texts):
    if field[0] == 'check':
        _, label, default = field
        return (f'    <field><text>{texts.id(label)}</text>'
                f'<value type="check"><on>1</on><off>0</off><default>{default}</default></value></field>\n')
    return (f'    <field><text>{texts.id(field[1])}</text>'
            r'<value type="edit"><expr>[P|B|C|U][0-3]\d{3}</expr><default>P0000</default></value>'
            '</field>\n')


def element(element_id, label, fields, texts):
    out = f'  <element id="{element_id:02X}">\n    <text>{texts.id(label)}</text>\n'
    if isinstance(fields, list):
        out += ''.join(listed_field(f, texts) for f in fields)
    else:
        out += single_field(fields, texts)
    return out + '  </element>\n'


def form(texts):
    seen = set()
    out = ('<?xml version="1.0" encoding="iso-8859-1"?>\n'
           '<!-- Written by tools/form/make_form_xml.py; change the script, not this file. -->\n'
           '<form>\n')
    for index, section in enumerate(SECTIONS):
        if index > 0:
            out += '  <element id="00" type="separator"/>\n'
        for element_id, label, fields in section:
            if element_id in seen:
                sys.exit(f'id {element_id:02X} given twice')
            seen.add(element_id)
            out += element(element_id, label, fields, texts)
    return out + '</form>\n', len(seen)


def resource_script(texts):
    lines = ''.join(f'    {text_id} "{text}"\n' for text, text_id in sorted(texts.by_text.items(),
                                                                          key=lambda entry: entry[1]))
    return ('// The form of the patch editor page and the English texts of its labels; included by\n'
            '// zarvo.rc. Written by tools/form/make_form_xml.py; change the script, not this file.\n'
            '#include "FormIds.h"\n'
            '\n'
            'IDR_FORM_PATCH FORM "form2022.xml"\n'
            '\n'
            'STRINGTABLE\n'
            'BEGIN\n' + lines + 'END\n')


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    texts = Texts()
    xml, count = form(texts)
    with open(os.path.join(root, 'res', 'form2022.xml'), 'w', newline='\n', encoding='iso-8859-1') as out:
        out.write(xml)
    with open(os.path.join(root, 'res', 'form.rc'), 'w', newline='\n', encoding='ascii') as out:
        out.write(resource_script(texts))
    print(f'{count} elements and {len(texts.by_text)} texts written')


if __name__ == '__main__':
    main()
