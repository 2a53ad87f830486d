#!/usr/bin/env python3
# Makes the bad-input corpus of K40's readers (the files beside this script).
# The settings files start from settings/good.in4, which k40init wrote.
import math, os, struct

here = os.path.dirname(os.path.abspath(__file__))
def put(path, data):
    with open(os.path.join(here, path), 'wb') as f:
        f.write(data)

def record(name, ticket, values, encoding='cp932'):
    b = name.encode(encoding)
    return struct.pack('<H', len(b)) + b + struct.pack('<h', ticket) + struct.pack('<150h', *values)

def route(names, encoding='cp932'):
    out = struct.pack('<h', len(names))
    for k, n in enumerate(names, 1):
        out += record(n, k, [100 * k + i for i in range(150)], encoding)
    return out

good = route(['港', '魚市場', '市民病院前', '中央公園', '終点'])
put('fares/truncated.hy3', good[:len(good) // 2])
put('fares/empty.hy3', b'')
put('fares/count-32767.hy3', struct.pack('<h', 32767) + good[2:])
put('fares/count-negative.hy3', struct.pack('<h', -3) + good[2:])
put('fares/name-length-65535.hy3', struct.pack('<hH', 2, 65535) + b'abcdefghij')
put('fares/utf8-names.hy3', route(['港', '魚市場', '市民病院前'], 'utf-8'))

put('announcements/truncated.csv', '次は、港です。,1,2\r\n次は、魚市場です。,1'.encode('cp932'))
put('announcements/flag-not-a-number.csv', '次は、港です。,一,0\r\n'.encode('cp932'))
put('announcements/flag-of-70000-digits.csv', ('次は、港です。,1,' + '9' * 70000 + '\r\n').encode('cp932'))
put('announcements/unquoted-comma.csv', '次は、港、魚市場です。,1,0\r\n'.replace('、魚', ',魚').encode('cp932'))
put('announcements/utf8.csv', '次は、港です。,1,0\r\n次は、魚市場です。,0,1\r\n'.encode('utf-8'))
put('announcements/binary.csv', bytes(range(256)) * 4)

good_in4 = open(os.path.join(here, 'settings/good.in4'), 'rb').read()
put('settings/truncated.in4', good_in4[:len(good_in4) // 2])
put('settings/empty.in4', b'')
put('settings/text-length-65535.in4', struct.pack('<H', 65535) + b'C:\\')
put('settings/garbage.in4', bytes((i * 7919 + 13) % 256 for i in range(600)))
# The folders of good.in4 (CP932) written in UTF-8 instead, their lengths kept true.
folder = '/データ/バス'
cp, u8 = folder.encode('cp932'), folder.encode('utf-8')
old = struct.pack('<H', len(cp)) + cp
assert old in good_in4
put('settings/utf8-folders.in4', good_in4.replace(old, struct.pack('<H', len(u8)) + u8))

plugin = ('{"format": "K40 ticket plug-in", "version": 1, "name": "券", '
          '"size": {"width": 3300, "height": 1395}, "elements": [%s]}')
put('plugins/truncated.4SP', (plugin % '{"type": "paper"}').encode()[:60])
put('plugins/utf16.4SP', (plugin % '{"type": "paper"}').encode('utf-16'))
put('plugins/1001-elements.4SP', (plugin % ','.join(['{"type": "paper"}'] * 1001)).encode())
put('plugins/nested-100000.4SP', b'[' * 100000 + b']' * 100000)
put('plugins/version-2.4SP', (plugin % '').replace('"version": 1', '"version": 2').encode())

def wave(channels, rate, frames, declared=None):
    data = b''.join(struct.pack('<h', int(8000 * math.sin(i * 0.06))) * channels
                    for i in range(frames))
    size = len(data) if declared is None else declared
    return (b'RIFF' + struct.pack('<I', min(36 + size, 0xFFFFFFFF)) + b'WAVEfmt ' +
            struct.pack('<IHHIIHH', 16, 1, channels, rate, rate * 2 * channels, 2 * channels, 16) +
            b'data' + struct.pack('<I', size) + data)

put('sounds/header-only.wav', wave(1, 8000, 0))
put('sounds/data-length-4-GiB.wav', wave(1, 8000, 800, declared=0xFFFFFFF0))
put('sounds/9-channels.wav', wave(9, 8000, 800))
put('sounds/384-kHz.wav', wave(1, 384000, 800))
put('sounds/text.mid', 'これはMIDIではありません'.encode('utf-8'))
put('sounds/truncated.mid', b'MThd\0\0\0\6\0\1\0\5\1\xe0MTrk\xff\xff\xff\xff\x90\x90\x90')
