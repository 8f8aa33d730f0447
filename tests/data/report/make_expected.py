# The expected exports of sample.dat and empty.dat, worked out by hand from the rules of the
# text and HTML forms; this script only writes them as the program does: UTF-16 little-endian
# with the byte-order mark FF FE, every line ending in CR LF. Dates and times use the C
# locale's separators ("." and ":").

def write(name, lines):
    with open(name, 'wb') as f:
        f.write(b'\xff\xfe' + ''.join(line + '\r\n' for line in lines).encode('utf-16-le'))

# kelmora-cli report sample.dat --format txt (relative humidity, whole file)
# widths: 8 ("05.03.24"), 5 ("Время", "10:00"), 5 ("RH, %", "100,0"), 5 ("Т, °C")
write('sample_rh.txt', [
    '  Дата   Время RH, % Т, °C ',
    '05.03.24 10:00  45,3  21,5 ',
    '05.03.24 10:00  45,3  21,5 ',
    '05.03.24 10:01  ---   -5,3 ',
    '05.03.24 10:02 100,0  ---  ',
    '05.03.24 10:03  29,9  60,1 ',
    '05.03.24 10:00  0,0   0,0  ',
])

# kelmora-cli report sample.dat --mode dew --from "2024-03-05 10:00" --to "2024-03-05 10:01" --format txt
# 10:00 rows: dew point of 45,25 % at 21,5 degrees 9,1599 -> "9,2"; of 0 % -> -60 -> "-60,0".
# column 2 is 9 wide ("Tт.р., °C").
write('sample_dew.txt', [
    '  Дата   Время Tт.р., °C Т, °C ',
    '05.03.24 10:00    9,2     21,5 ',
    '05.03.24 10:00    9,2     21,5 ',
    '05.03.24 10:01    ---     -5,3 ',
    '05.03.24 10:00   -60,0    0,0  ',
])

# kelmora-cli report empty.dat --format txt: the "no data" row
write('empty_rh.txt', [
    'Дата  Время RH, % Т, °C ',
    ' Нет данных             ',
])

STYLE = ';font-size:8pt{bold};font-family: Tahoma, "DejaVu Sans", sans-serif;text-align: center;vertical-align: middle'
def style(n, bg, fg, bold=False):
    return '.c%d {background-color: #%s;color: #%s%s}' % (n, bg, fg, STYLE.format(bold=';font-weight: bold' if bold else ''))

def html(name, styles, rows):
    lines = ['<style>'] + styles + ['</style>',
             '<table border="1" cellspacing="0" cellpadding="0"  width="100%">']
    for row in rows:
        lines.append('<tr>')
        for cls, text in row:
            lines.append('<td class="c%d" nowrap="nowrap">%s</td>' % (cls, text))
        lines.append('</tr>')
    lines += ['</table>', '']
    write(name, lines)

header = [(0, 'Дата'), (0, 'Время'), (0, 'RH, %'), (0, 'Т, °C')]

# kelmora-cli report sample.dat --thresholds "30;60;-40;60" --format htm
# humidity 30..60, temperature -40..60; classes in order of first use:
# 0 header, 1 plain, 2 "---", 3 above (red on yellow), 4 below (blue on yellow)
html('sample_marked.htm',
     [style(0, 'F0F0F0', '000000'), style(1, 'FFFFFF', '000000'), style(2, 'FF0000', 'FFFF00', True),
      style(3, 'FFFF00', 'FF0000', True), style(4, 'FFFF00', '0000FF', True)],
     [header,
      [(1, '05.03.24'), (1, '10:00'), (1, '45,3'), (1, '21,5')],
      [(1, '05.03.24'), (1, '10:00'), (1, '45,3'), (1, '21,5')],
      [(1, '05.03.24'), (1, '10:01'), (2, '---'), (1, '-5,3')],
      [(1, '05.03.24'), (1, '10:02'), (3, '100,0'), (2, '---')],
      [(1, '05.03.24'), (1, '10:03'), (4, '29,9'), (3, '60,1')],
      [(1, '05.03.24'), (1, '10:00'), (4, '0,0'), (1, '0,0')]])

# kelmora-cli report empty.dat --format htm: blank cells become &nbsp;, nothing marked
html('empty_nodata.htm',
     [style(0, 'F0F0F0', '000000'), style(1, 'FFFFFF', '000000')],
     [header, [(1, 'Нет'), (1, 'данных'), (1, '&nbsp;'), (1, '&nbsp;')]])
