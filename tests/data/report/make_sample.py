# Writes sample.dat: six readings of 2024-03-05 in file order (not sorted), as local day counts.
#   10:00:05      RH 4525   T 2150
#   10:00:40      RH 4525   T 2150    the same reading again in the same minute
#   10:01:10      RH 10000  T -525    humidity out of range
#   10:02:00      RH 9999   T -10000  temperature out of range
#   10:03:30      RH 2990   T 6010
#   09:59:59.9996 RH 0      T -4      rounds into the minute 10:00
import datetime, struct
day = (datetime.date(2024, 3, 5) - datetime.date(1899, 12, 30)).days
rows = [(36005, 4525, 2150), (36040, 4525, 2150), (36070, 10000, -525),
        (36120, 9999, -10000), (36210, 2990, 6010), (35999.9996, 0, -4)]
with open('sample.dat', 'wb') as f:
    for seconds, rh, t in rows:
        f.write(struct.pack('<dhh', day + seconds / 86400, rh if rh < 32768 else rh - 65536, t))
open('empty.dat', 'wb').close()
