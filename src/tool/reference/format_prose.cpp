// The prose of the source format's reference, around the record tables that docs/format.md
// draws from the record tables themselves.
#include "tool/reference/reference_docs.h"

namespace scenario {

std::string_view formatProse() {
    return R"doc(A scenario is written as two text files. The **line source file**, `NAME_linea.txt`, describes
the railway line: its length, the kilometre-post references, the backgrounds, the signal
repetition, and along the route the curves, gradients, tunnels, maximum-speed boards and
indicator signs. The **train source file**, `NAME_NUMBER-.txt`, describes one train's run over
that line: the train's data and clock, the adhesion and speed-limit profiles, the stations with
the timetable, the signals, the slow orders and the speed-cut points. `scenario check` and
`scenario compile` take the line file first, then the train file; without `--name` and
`--train` the names are taken from these file names.

All positions are whole metres from the start of the route. The compiler cuts the route into
cells of 50 m, and adds 7000 m of cells after the route's end.

## Encoding and line ends

The files are Windows-1252 text ("Western European"): one byte per character, so "Ì" is the
single byte 0xCC. Names and sign texts are stored byte for byte as they stand in the file. A
file saved as UTF-8 is read byte by byte all the same: "LUCÌA" then becomes "LUCÃŒA" in the
compiled scenario.

Lines end with CR LF, as the scenario program writes them; a lone LF or a lone CR ends a line as
well, and the three forms compile to the same bytes.

## Fields

The reader sees a file as a stream of **fields**, not of lines. A field ends at a comma, at the
end of a line or at the end of the file. Blanks (spaces and tabs) before a field are skipped,
and blanks at the end of a text field are dropped.

A **record** is a first field that holds the record's keyword, followed by its values, each in
a field of its own:

    velocita,    3550,   100

The writer puts one record on a line, but the reader only counts fields: a record whose last
value stands on the next line is still read whole, and a line with more fields than its record
takes hands the extra fields on as the next first fields. That is why a comma in a station name
or a sign text cuts it: the part after the comma is read as the next record's first field.

A number also ends at a blank, so `orologio,    14   22   30` gives three numbers, and
`34 000` gives 34 and then 000.

## Numbers

A number is an optional sign and decimal digits: `-15`, `0`, `34000`. Each value has a type:

| Type | Range |
|---|---|
| Long | −2147483648 to 2147483647 |
| Integer | −32768 to 32767 |
| Byte | 0 to 255 |

- An empty field reads as 0: `450,  65,  70,  75,  0,  ,  ,  ,  0` is nine numbers, four of
  them 0. The speed boards use this for their unused second set.
- Any other text reads as 0 and the compile goes on: `cento`, `5.000`, `1e3`, `12a` all give 0.
- A number outside its type's range stops the compile with error 25.

Text values (a station name, a sign text) run to the next comma or line end. There is no
quoting: a double quote is an ordinary character.

## Keywords

A first field is tested for keywords as a substring: `velocita` is found in `velocita`,
`VELOCITA`, `velocità` and `limite di velocita`. Letter case does not matter, except for the
line file's general records after the route length, which must be written in small letters
(`progressiva`, `sfondo`, `ripetizione segnali`). Every test is made on every first field, so a
field that held two keywords would read two records. A first field that holds no keyword is
passed over, and so is every field of a line that starts with a misspelt keyword (its values are
then read as first fields and passed over too).

## Comments

A comment is a first field that holds a hyphen "-" anywhere:

    - Altitudine iniziale ALFA = 120 m.

Three rules follow from that:
- A comment ends at a comma like any field, and the text after the comma is read as a first
  field. Keep commas out of comments.
- Up to two comment lines in a row are passed over (up to ten inside the line file's
  `[generale]` section). The line after them is read as a record line whatever it holds, so a
  third comment line that mentions a record is read as that record.
- A record's keyword field must hold no hyphen: `stazione-bis` is a comment.

`#`, `;` and `//` mean nothing: `# segnale, 2000, ...` is a signal record.

Hyphens in values are data: a gradient of `-15`, a station name with a hyphen.

## Sections

Both files begin with a `[generale]` line. Everything before the first field that contains
`[generale]` is passed over.

After that, headers such as `[curve]` or `[stazioni]` are conventions for the people who read
the file: the reader passes them over like any field without a keyword. The one exception is
the line file's `[generale]` section: it holds the general records (route length, kilometre
posts, backgrounds, signal repetition), and it ends at the next line in brackets, whatever that
line says. Inside it only the general records are read; after it only the route records
(gradients, curves, tunnels, speed boards, signs). In the train file any record may stand
anywhere after `[generale]`. The scenario program writes its files with these headers, in
this order:

| File | Headers |
|---|---|
| line | `[generale]` `[curve]` `[pendenze]` `[montagne]` `[cartelli]` `[indicazioni]` `[fine]` |
| train | `[generale]` `[aderenze]` `[vel_limite]` `[stazioni]` `[rallentamenti]` `[segnali]` `[codici]` `[fine]` |

A header must not contain a record keyword: `[pendenza]` is a gradient record and takes the
next line's values; the header is `[pendenze]`.

Order still matters in places: the route length must come first in `[generale]`; the records of
a profile (gradients, speed limits, adhesion) and the curves go in increasing position; the
stations go in route order; and a station read after a signal in the same cell replaces it,
whereas a signal read after a station is refused (error 16). Writing stations before signals,
as the headers' order does, keeps such faults visible.

## The end of the file

The last field of a file is never examined. End each file with the line `[fine]`, so that the
last record is read.

## Positions and cells

Positions are metres from the route's start, and most objects go into a 50 m cell: a signal at
2600 m goes to cell 53 (round(2600 / 50 + 1)), a speed-limit change at 3550 m starts at cell 71
(round(3550 / 50)). A position off the 50 m grid is rounded to a cell, half-way positions to
the even cell. Stations must stand on the grid (a multiple of 50) and platform lengths on a
100 m grid. A record may stand up to 6900 m past the route's end (a station 6200 m), in the
cells the compiler adds after the route. Cell 1 is kept for the scenario's stamps and must
stay free: no signal, board, sign or slow order before 25 m, no speed-cut point from 26 to 74 m
(errors 1250 and 1251).
)doc";
}

std::string_view formatWorkedExample() {
    return R"doc(## A worked example

A 6 km line with a curve, a gradient, a tunnel with its sign, a speed-board group, and a train
that runs from ALFA to BETA with one intermediate stop, two signals and a slow order. Both files
check clean: no warning, no error.

`demo_linea.txt`:

```
[generale]
lunghezza percorso,    6000
progressiva chilometrica uno,    0,    12000,    0
progressiva chilometrica due,    0,    0,    0
progressiva chilometrica tre,    0,    0,    0
sfondo uno,    0
sfondo due,    1
sfondo tre,    0
ripetizione segnali 4 codici,    0,    0
[curve]
curvad5,  1500,  300
[pendenze]
- Altitudine iniziale ALFA = 120 m.
pendenza,  1000,  8
pendenza,  3000,  0
[montagne]
montagna,  2000,  2400,  12
[cartelli]
indicatori_vmax,  1200,  80,  85,  90,  0,  ,  ,  ,  0
[indicazioni]
cartello_indicatore,  1950,   (GALLERIA BRUNA)( 400 m. )
[fine]
```

`demo_7-.txt`:

```
[generale]
numero vetture,    3
percentuale massa frenata,    110
sabbia,    300
orologio,    8   15   0
[aderenze]
aderenza,    0,   100
aderenza,    2000,    80
aderenza,    2400,   100
[vel_limite]
velocita,    0,    80
velocita,    1200,    90
velocita,    5000,    60
[stazioni]
stazione,    0,  4,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,   8,15, 0, ALFA
stazione,    3000, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,   30,   8,18, 0, VALBRUNA
stazione,    5500,  4,  500,  1, 0, 0,  1,1,0,  2,1,1,    0,   8,22, 0, BETA
[rallentamenti]
rallentamento,    3600,   60,   400,   0,   1,   0
[segnali]
segnale,    1000,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,    4800,   2, 2, 3,  0, 1,    0,  0,0,0, 0
[codici]
[fine]
```

    $ scenario check demo_linea.txt demo_7-.txt
    $ echo $?
    0

What some of the lines become (from `scenario compile` and `scenario dump`):
- The route of 6000 m gives cells 0 to 260 (6000 + 7000 m).
- `pendenza, 1000, 8`: from cell 20 (1000 m) the cells hold a gradient of 8 ‰, until cell 59;
  from cell 60 (3000 m) the gradient is 0 again.
- `montagna, 2000, 2400, 12`: cells 40 to 47 are a tunnel of type 2, with a marker in cell 43
  (type 12 = type 2 with markers every 200 m). The sign at 1950 m stands in cell 40, at the
  tunnel's mouth, and its text goes to entry 80 of the station table.
- `indicatori_vmax, 1200, 80, 85, 90, ...`: one board group in cell 25.
- `stazione, 0, 4, 500, ...`: ALFA's platform runs from −250 to 250 m; its station cell is 4.
  VALBRUNA (kind 27) is a stop without cells: the train stops 30 s and leaves at 8:18:00.
  BETA's station cell is 114; its time, 8:22:00, is the arrival.
- `segnale, 1000, 2, 4, 0, ...`: a signal in cell 21, with approach codes in cells 19, 17, 15
  and 13.
- `rallentamento, 3600, 60, 400, 0, 1, 0`: a 60 km/h slow order from cell 73 to its end board in
  cell 81, a warning board 1200 m before it (cell 49) with four marker cells before that (45 to
  48); the compiler adds speed-cut points before the slow order (cells 68, 62, 55) and inside
  it (cell 80).

The same pair with CR LF, LF or CR line ends, or with tabs in place of the blanks, compiles to
the same bytes.
)doc";
}

}  // namespace scenario
