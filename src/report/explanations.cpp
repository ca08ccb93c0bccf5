// The explanations of the error numbers and the warnings, in one table each.
#include "report/explanations.h"

#include <string>

namespace scenario {
namespace {

constexpr Explanation kErrors[] = {
    {1,
     false,
     "route length above 1000000 m",
     {},
     "route length out of range",
     "the route-length record gives a length below 0 or above 1000000 m; the short meaning "
     "names only the upper bound.",
     "the route-length record (`lunghezza percorso`) in `[generale]`, when its value is read.",
     "line file `lunghezza percorso, 1000050`.",
     "give the length in metres, at most 1000000 (1000 km)."},
    {2,
     false,
     "kilometre post position or reference value not a multiple of 50",
     {},
     "kilometre post off the 50 m grid",
     "a kilometre-post record's position, or its reference value (after the 100 added for flag 1), "
     "is not a multiple of 50.",
     "the final check of the kilometre posts (entries 81 to 83), made after the train file has "
     "been read to its end. It names no line; `check` points at the post's value. It is not made "
     "when either file stopped on an error "
     "other than 15, and it replaces an error 15 of the train file as the error recorded last.",
     "line file `progressiva chilometrica uno, 1000, 1025, 0`.",
     "round the position and the reference value to 50 m (1025 -> 1000 or 1050)."},
    {3,
     false,
     "first signal-repetition position not a multiple of 50",
     {},
     "first signal-repetition position off the grid",
     "the first position of the signal-repetition record is not a multiple of 50.",
     "`ripetizione segnali 4 codici` in `[generale]`, right after its two values are read.",
     "line file `ripetizione segnali 4 codici, 25, 0`.",
     "make the first position a multiple of 50."},
    {4,
     false,
     "second signal-repetition position not a multiple of 50",
     {},
     "second signal-repetition position off the grid",
     "the second position of the signal-repetition record is not a multiple of 50.",
     "the same record, after error 3's test passed.",
     "line file `ripetizione segnali 4 codici, 0, 25`.",
     "make the second position a multiple of 50 (0 means no repetition)."},
    {5,
     false,
     "signal-repetition record names neither 4 nor 9 codes",
     {},
     "signal repetition without a code count",
     "the first field of the signal-repetition record holds neither the digit 4 nor 9.",
     "the same record, after both positions passed.",
     "line file `ripetizione segnali codici, 0, 0`.",
     "write `ripetizione segnali 4 codici` or `ripetizione segnali 9 codici`."},
    {6,
     true,
     "indicator sign on a cell already taken",
     {},
     "sign on a taken cell",
     "an indicator sign falls in a cell that already holds an object (another sign or a "
     "maximum-speed board group; a tunnel marker does not count).",
     "the sign record (`cartello_indicatore`): its cell is round(position / 50 + 1).",
     "line file `cartello_indicatore, 1000, (ALFA)` then `cartello_indicatore, 1000, (BETA)`.",
     "move one of the two by 50 m or more; positions 25 m apart may still share a cell."},
    {7,
     true,
     "speed-cut point on a cell already taken",
     {},
     "speed-cut point on a taken cell",
     "a speed-cut point falls in a cell that already holds an object (signal, station, slow-order "
     "board, sign, speed board, another point).",
     "`abbattimento`: its cell is round(position / 50), without the +1 that signals use.",
     "train file `abbattimento, 1000, 60` then `abbattimento, 1000, 80`.",
     "move the point to a free cell. A signal at p occupies cell p / 50 + 1, so a point at p + 50 "
     "collides with it."},
    {8,
     true,
     "station position not a multiple of 50",
     {},
     "station position off the grid",
     "a station's position is not a multiple of 50.",
     "`stazione`, right after its position passed the range test.",
     "train file `stazione, 1025, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, ALFA`.",
     "round the position to 50 m."},
    {9,
     true,
     "platform length not a multiple of 100",
     {},
     "platform length off the grid",
     "a station's platform length is not a multiple of 100.",
     "`stazione`, third value.",
     "train file `stazione, 1000, 27, 250, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, ALFA`.",
     "round the platform length to 100 m."},
    {10, false, "too many stations for the station table",
     "the table holds {free} stations beside the line file's {signs} sign texts; the train file "
     "has {stations} stations",
     "too many stations",
     "the station table is full. Stations fill it from entry 1 upward, sign texts from entry 80 "
     "downward, and a station may not reach the entry below the last sign text: the table holds 78 "
     "- S stations, S being the number of sign records of the line file.",
     "`stazione`, after the station is stored (the station that exceeds the capacity is stored, "
     "then the reading stops); when the table is already full, before the record is read.",
     "79 station records on a line of 40000 m, 400 m apart, and no sign: the 79th gives the error.",
     "fewer stations or fewer signs; together at most 78."},
    {11,
     true,
     "no free cell before a signal ahead of a slow-order warning board",
     {},
     "no room for a speed-cut point before a signal",
     "a signal stands within 1000 m (20 cells) before a slow order's warning board, and neither of "
     "the two cells right before the signal is free or already a speed-cut point.",
     "the signal-spacing pass, after both files were read; it names only the signal's position "
     "(cell x 50), no line (`check` points at the signal, with a note at the slow order). The "
     "pass goes on, and a later 11, 12 or 13 replaces it as the error "
     "recorded last.",
     "train file ``` segnale, 1350, 2,1,0,0,0, 0,0,0,0, 0 segnale, 1400, 2,1,0,0,0, 0,0,0,0, 0 "
     "segnale, 1450, 2,1,0,0,0, 0,0,0,0, 0 rallentamento, 3000, 120, 500, 0, 0, 0 ``` The slow "
     "order's warning board stands at 1850 m (cell 37); the signal in cell 30 (at 1450 m) has "
     "signals in cells 29 and 28 before it.",
     "keep one of the two cells (50 and 100 m) before each signal near a warning board free, or "
     "move the slow order."},
    {12,
     true,
     "no free cell in a window before a slow-order start",
     {},
     "no room for a speed-cut point before a slow order",
     "one of the three windows before a slow order's start (5-7, 11-13 and 18-20 cells before it) "
     "has no free cell.",
     "the signal-spacing pass; it names the start cell's position (cell x 50); `check` points at "
     "the slow order.",
     "train file: signals at 2650, 2700, 2750 m (cells 54-56) and `rallentamento, 3000, 120, 500, "
     "0, 0, 0` (start cell 61).",
     "leave at least one cell free in each window: 250-350 m, 550-650 m and 900-1000 m before the "
     "slow order."},
    {13,
     true,
     "no free cell for a speed-cut point in or after a slow order",
     {},
     "no room for a speed-cut point in or after a slow order",
     "inside a slow order below 110 km/h a point is due every 400 m, and the due cell and its two "
     "neighbours are taken; or the first signal within 12 cells after the slow order's end board "
     "has neither of the two cells before it free.",
     "the signal-spacing pass; it names the due cell (or the end board's cell) x 50; `check` "
     "points at the slow order (with a note at the signal after its end).",
     "train file: signals at 3350, 3400, 3450 m (cells 68-70) and `rallentamento, 3000, 60, 1000, "
     "0, 0, 0` (start cell 61: the first point is due at cell 69).",
     "inside a slow order below 110 km/h keep every 8th cell from the start (or one of its "
     "neighbours) free; keep the cell before the first signal after the end board, or the one "
     "before that, free."},
    {14, true, "more indicator signs than the station table holds",
     "the table holds {slots} sign texts; the line file has {signs}", "too many signs",
     "more than 80 sign records: the station table holds sign texts in entries 80 down to 1. "
     "Capacity: 80 signs (and every sign takes the place of one station, error 10).",
     "the 81st `cartello_indicatore` record.",
     "line of 40000 m with 81 records `for i in $(seq 1 81); do echo \"cartello_indicatore, "
     "$((i*100)), (C$i)\"; done`. With 80 the check is clean (but then no station fits: error 10).",
     "at most 80 signs, and at most 78 signs and stations together."},
    {15,
     true,
     "position beyond the track cell table",
     {},
     "position beyond the cell table",
     "a record's position lies too far for the cell table: the table ends 7000 m after the route's "
     "end, and a record must stand at least 100 m before that end (a station 800 m). With a 5000 m "
     "route: records up to 11900 m, stations up to 11200 m. It is also given when another cell of "
     "the record would fall outside the table (a curve's end past the plan, a slow order's end "
     "board, a cell before cell 0 for a negative position).",
     "every record with a position (gradient, curve, tunnel, speed board, sign, speed limit, "
     "adhesion, signal, slow order, speed-cut point, station). The reading of that file ends; "
     "after a line-file 15 the train file is still read.",
     "a route of 5000 m and the train file record `velocita, 12000, 100`.",
     "keep positions within the route (0 to the route length); lengthen the route if the objects "
     "are meant to be there."},
    {16,
     true,
     "signal on a cell already taken",
     {},
     "signal on a taken cell",
     "a signal falls in a cell that already holds an object: another signal, a station cell, a "
     "slow-order board, a speed-cut point, a sign or a speed board of the line file (a tunnel "
     "marker does not count).",
     "`segnale`: its cell is round(position / 50 + 1).",
     "two `segnale, 2000, ...` records.",
     "move the signal by 50 m or more. Note the order of records matters: a station read after a "
     "signal replaces the signal silently; a signal read after a station is refused."},
    {17,
     true,
     "slow-order warning board on a cell already taken",
     {},
     "slow-order warning board on a taken cell",
     "a slow order beyond 1500 m has a warning board 1200 m before its start, and that cell holds "
     "an object.",
     "`rallentamento`; its three boards are tested before anything is written.",
     "`segnale, 1800, ...` then `rallentamento, 3000, 60, 500, 0, 0, 0` (warning board at cell 37, "
     "the signal's cell).",
     "move the slow order or the object 1200 m before it."},
    {18,
     true,
     "slow-order start on a cell already taken",
     {},
     "slow-order start on a taken cell",
     "the slow order's start cell, round(x / 50 + 1), holds an object.",
     "`rallentamento`.",
     "`segnale, 3000, ...` then `rallentamento, 3000, 60, 500, 0, 0, 0`.",
     "move the slow order's start or the object."},
    {19,
     true,
     "slow-order end board on a cell already taken",
     {},
     "slow-order end board on a taken cell",
     "the end cell, round((x + l) / 50 + 1), holds an object.",
     "`rallentamento`.",
     "`segnale, 3500, ...` then `rallentamento, 3000, 60, 500, 0, 0, 0`.",
     "change the length or move the object at x + l."},
    {20,
     true,
     "a cell before a slow-order warning board already taken",
     {},
     "no room for the markers before a warning board",
     "the slow order asks for markers (fifth value not 0) and one of the four cells ending at "
     "round((x - 1200) / 50) holds an object. The boards are already written when this is found.",
     "`rallentamento` with `f_ta` not 0 and x above 1500.",
     "`segnale, 1700, ...` then `rallentamento, 3000, 60, 500, 0, 1, 0` (markers in cells 33 to "
     "36, the signal in 35).",
     "keep the 200 m before the warning board free, or set the fifth value to 0."},
    {21,
     true,
     "maximum-speed boards on a cell already taken",
     {},
     "speed boards on a taken cell",
     "a maximum-speed board group falls in a cell that already holds an object (another board "
     "group or a sign).",
     "`indicatori_vmax`: its cell is round(position / 50 + 1).",
     "two `indicatori_vmax, 1000, ...` records.",
     "move one of them by 50 m or more."},
    {22,
     true,
     "station less than 350 m after the previous one",
     {},
     "stations too close",
     "a station's platform starts less than 350 m after the previous station's platform end. "
     "Stations out of route order give this error too.",
     "`stazione`, from the second station on.",
     "stops of 200 m at 1000 and 1300 m (platforms 900-1100 and 1200-1400).",
     "move the station so that 350 m lie between the platforms, shorten a platform, or put the "
     "stations in route order."},
    {24,
     false,
     "station platform ends too near the route start",
     {},
     "platform too near the route start",
     "a station of kind below 25 has its platform end at 100 m or less from the route's start, "
     "where its station cell cannot stand.",
     "`stazione` with a kind below 25.",
     "`stazione, 0, 12, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, ALFA` (platform end 50 m).",
     "a longer platform or a later position; the first station of the built-in run stands at 0 "
     "with a 500 m platform (end 250 m)."},
    {25, false, "reading stopped", "the files look swapped",
     "the reading stopped: a value that does not fit, a record cut off, a file missing",
     "a value could not be read or stored: the reading of both files stops, and the reason follows "
     "the message. Causes: a number too large for its field (a Byte above 255, an Integer above "
     "32767: `orologio, 40000 0 0`); a record cut off by the end of the file; a train source file "
     "that is missing; no route-length "
     "record in `[generale]` (\"the line has no route length record\"; nothing is written, exit "
     "status 4), which is also how swapped line and train files end; a speed limit whose speed / 5 "
     "does not fit a byte (above 1277 or below -2 km/h), found when the next speed-limit record is "
     "read; a speed-board value 20 x first speed + second speed / 5 beyond 32767; a name or sign "
     "text longer than 65535 bytes; two comment lines ending the file inside the line file's "
     "`[generale]` section.",
     "the error trap of the compile step, for any record.",
     "the station record `stazione, 1000, 300, 200, 0,0,0, 0,0,0, 0,0,0, 30, 8,0,0, ALFA`: a "
     "station kind of 300 does not fit a byte.",
     "see the reason: keep values in their field's range, finish the last record, give the route "
     "length, check the argument order."},
    {101,
     false,
     "line source file missing",
     {},
     "line source file missing",
     "the line source file is not in the scenario program's directory when the compile starts (a "
     "hidden or system file counts as missing).",
     "the line pass, before it opens the file; nothing is deleted.",
     "the scenario program started without its line source file beside it.",
     "the file must exist with the name NAME_linea.txt beside the program."},
    {102,
     false,
     "line source file has no [generale] section",
     {},
     "no [generale] in the line file",
     "no first field of the line file contains \"[generale]\" (any letter case) before the file's "
     "last field.",
     "the line pass, searching for the start. An empty file, and a file whose only or last line is "
     "`[generale]`, give it.",
     "an empty line file, or one whose only line is `[generale]`.",
     "begin the file with `[generale]`, and end it with `[fine]`."},
    {103, false, "curve without class digit, or plan beyond 1000000 m",
     "a curve's first field needs a class digit 1 to 6 after its side letter (curvad5, curvas1), "
     "and the plan ends at 1000000 m",
     "curve without class, or plan too long",
     "a curve record's first field holds none of the class digits 1 to 6; or the plan would pass "
     "metre 1000000.",
     "the curve record (any first field containing \"curva\" while the plan is built).",
     "the curve record `curvad9, 1000, 100`: 9 is no class digit.",
     "write the class digit 1 (widest) to 6 (sharpest) after the side letter: `curvad5`; end "
     "curves before 1000000 m."},
    {1250,
     false,
     "marker slot already taken",
     {},
     "marker slot taken",
     "cell 1 (or entry 85's `groupA1`) already holds a value where the build stamps its marker: "
     "something stands in cell 1 with a first value that is not 0.",
     "the stamping after the compile; the build stops with \" Errore n. 1250\" and writes no "
     "binary file (exit status 3). Objects take cell 1 when they stand at positions -24 to 24 m "
     "(signals, speed boards, signs, slow-order starts) or 26 to 74 m (speed-cut points with a "
     "speed).",
     "the signal record `segnale, 0, 2,1,0,0,0, 0,0,0,0, 0`.",
     "move the object to 50 m or later (signals, boards, signs 25 m or later; speed-cut points 75 "
     "m or later)."},
    {1251,
     false,
     "check-code slot already taken",
     {},
     "check-code slot taken",
     "cell 1's second value (or entry 85's departure time) is not 0 where the build stamps its "
     "check code; the marker slot (1250) was free.",
     "the stamping, as 1250; \" Errore n. 1251\", exit 3, nothing written.",
     "`segnale, 0, 2,0,1,0,0, 0,0,0,0, 0`: s1 and d1 are 0, so the signal's first value is 0, but "
     "s2 = 1 gives a second value of 10. A speed board at 0 whose first speeds are 0 and second "
     "speeds are not does the same.",
     "as for 1250: nothing in the first 25 m of the route."},
};

constexpr Explanation kWarnings[] = {
    {0,
     false,
     {},
     {},
     "number-text",
     "a field that should hold a number holds other text: it reads as 0 and the compile goes on. "
     "An empty field also reads as 0 without a word (the speed boards rely on it).",
     "the field reader, for every number field of every record.",
     "the train file record `velocita, 0, cento`.",
     "write the value in digits, with an optional sign and no decimal point or thousands "
     "separator: \"5.000\" reads as 0, \"5 000\" as 5 and then 000."},
    {0,
     false,
     {},
     {},
     "extra-fields",
     "a line holds more fields than its record reads: the reader takes the next field as a new "
     "first field. Typical causes are a comma in a station name or a sign text, a blank inside a "
     "number, and a value too many.",
     "the reading of first fields, when one stands on the line of the record before it.",
     "the train file record `sabbia, 300, 20`, or `lunghezza percorso, 5 000` (a route of 5 m).",
     "remove the extra value; write numbers without blanks; keep commas out of names and sign "
     "texts."},
    {0,
     false,
     {},
     {},
     "misplaced-keyword",
     "a first field names a record where its file's reader does not look for it, so it is passed "
     "over: before `[generale]`; a line-file general record not in small letters; a route record "
     "inside the line file's `[generale]` section, or a general record after it; a record of the "
     "other file.",
     "the reading of first fields in both files.",
     "the line file record `velocita, 1000, 80`, or `pendenza, 1000, 5` before the header that "
     "closes `[generale]`.",
     "small letters for the general records; close `[generale]` with a header (`[curve]`) before "
     "the route records; move the record to its file."},
    {0,
     false,
     {},
     {},
     "unknown-record",
     "a line's first field is no record of either file, no comment and no header, so the whole "
     "line is passed over and its values are read as first fields too. Usually a misspelt "
     "keyword; the nearest keyword of the file is offered when it is within a slip (an edit "
     "distance of 2, or a third of the keyword's length).",
     "the checker, for each first field that holds a letter and no \"-\".",
     "the train file records `stazone, 1750, ...` and `segnal, 2600, ...`: the station and the "
     "signal are missing from the scenario.",
     "correct the keyword."},
    {0,
     false,
     {},
     {},
     "unknown-section",
     "a `[...]` line that is none of the file's group headers: a misspelt header (with the "
     "nearest one offered), a header of the other file, or a `[...]` field that holds a record "
     "keyword and is therefore read as that record, taking the next fields as its values. The "
     "headers are conventions for the reader: the line file's are `[generale]`, `[curve]`, "
     "`[pendenze]`, `[montagne]`, `[cartelli]`, `[indicazioni]`, `[fine]`; the train file's "
     "`[generale]`, `[aderenze]`, `[vel_limite]`, `[stazioni]`, `[rallentamenti]`, `[segnali]`, "
     "`[codici]`, `[fine]`. In the line file any `[...]` line also ends `[generale]`.",
     "the checker, for each first field between brackets.",
     "`[pendenza]` in the line file: it is read as a gradient record with the next line's "
     "keyword as its position.",
     "use the file's headers exactly (`[pendenze]`, not `[pendenza]`)."},
    {0,
     false,
     {},
     {},
     "comment-style",
     "a line starts with `#`, `;` or `//`. These mean nothing in this format, where a comment is "
     "a first field that holds a hyphen \"-\": the line is read as the record its keyword names, "
     "or passed over.",
     "the checker, for each first field so written that holds no \"-\".",
     "the train file line `# segnale, 2000, 2,1,0,0,0, 0,0,0,0, 0`: a signal stands at 2000 m.",
     "start comment lines with \"- \" and keep commas out of them."},
    {0,
     false,
     {},
     {},
     "implausible-value",
     "a value compiles but is almost certainly a slip: it lies outside its field's plausible "
     "range (speeds 0 to 300 km/h, gradients -60 to 60 per mille, adhesion 0 to 255, hours 0 to "
     "23, minutes and seconds 0 to 59, a route at least 1000 m long, signal sides 0 to 2 and "
     "digits 0 to 9; every field's range is in the record tables; values whose meaning is the "
     "simulator's, such as the backgrounds, are held only to what their field stores); a route "
     "position lies past "
     "the route's end, in the 7000 m tail; a position that the model turns into a cell is off "
     "the 50 m grid (the warning names the cell and where it acts); an object lands in cell 1, "
     "where the stamps go; a speed limit is not a multiple of 5 (it is stored divided by 5).",
     "the checker, for each value of each record read.",
     "`velocita, 0, 1000`; `orologio, 25 70 0`; `pendenza, 1000, 260` (stored as +4); "
     "`segnale, 2655, ...` (cell 54, as if at 2650 m).",
     "correct the value; positions are metres from the start, on the 50 m grid."},
    {0,
     false,
     {},
     {},
     "order",
     "records of one list run backwards: stations, gradients, speed limits or adhesions below "
     "the previous record's position (the profile then changes at the wrong place; stations "
     "also give error 22), or departure times that run backwards (stations where the train does "
     "not stop have 0:00:00 and are left out).",
     "the checker, comparing each record with the previous one of its list.",
     "`pendenza, 2000, 5` then `pendenza, 1000, 10`; or ALFA departing at 8:10:00 and the next "
     "station at 8:05:00.",
     "list the records in route order; check the times."},
    {0,
     false,
     {},
     {},
     "no-records",
     "the train file yields nothing: it has no `[generale]` line (everything is passed over, "
     "an empty file too), or it has no station. A line file without `[generale]` is error 102.",
     "the checker, once the train file is read.",
     "an empty train file, or one holding only `[generale]` and `[fine]`.",
     "begin the file with `[generale]` and list the stations under `[stazioni]`."},
    {0,
     false,
     {},
     {},
     "encoding",
     "the file is not Windows-1252 text: it holds NUL bytes or control characters (a binary file, "
     "such as a picture given by mistake), or it is UTF-8 with letters beyond ASCII, which the "
     "compile would store as two or three characters each.",
     "the checker, over the file's bytes.",
     "a station named LUCÌA in a file saved as UTF-8.",
     "save the file as Windows-1252 (\"Western European\"), or give --input-encoding utf-8 to "
     "convert it before compiling; give the right file."},
    {0,
     false,
     {},
     {},
     "swapped-files",
     "the line file looks like a train file, or the train file like a line file: its first "
     "fields name records of the other file and none of its own. With both swapped, the compile "
     "ends with error 25 \"the line has no route length record\", which then says so.",
     "the checker, counting the records each file names.",
     "scenario check TRAIN_FILE LINE_FILE.",
     "give the line file first, then the train file."},
    {0,
     false,
     {},
     {},
     "curve-keyword",
     "a curve record's first field is not `curvas` or `curvad` followed by one digit. The "
     "compile searches the whole field: the curve turns left when it holds an \"s\" anywhere, "
     "in either case, right otherwise, and its class is the first of the digits 1 to 6 that it "
     "holds. The warning says which side and class the field is read as.",
     "the checker, for each curve record.",
     "`curva destra 5, 1000, 200`: \"destra\" holds an \"s\", so it is a left curve of class 5; "
     "`curvaX5` is a right one.",
     "write `curvas5` for a left curve, `curvad5` for a right one."},
    {0,
     false,
     {},
     {},
     "missing-field",
     "a record's text (a station's name, a sign's text) is a group header or begins with a "
     "record's keyword, taken from a later line: the record is a field short, each value took "
     "the next one's place, and the next line's first field became the text (the field before "
     "it usually gives a number-text warning too).",
     "the checker, for each text field read from a line after its record's.",
     "`stazione, 2000, 22, 200, 0,0, 0,0,0, 0,0,0, 30, 8,20,0, BETA` (15 numbers, not 16) "
     "before `[rallentamenti]`: the station is named \"[rallentamenti]\".",
     "give the record all its fields."},
    {0,
     false,
     {},
     {},
     "zero-speed",
     "the speed limit is 0 km/h over a stretch of the train's run, from its first station to "
     "its last. The limit before the first speed limit record is 0, so a list that starts "
     "after 0 m (or a file without one) leaves the start of the route at 0; a speed of 0 to 2 "
     "km/h is stored as 0. One warning per stretch, at the record whose speed it is, or at the "
     "first speed limit record.",
     "the checker, working out the speed limit profile as the train pass writes it.",
     "a train file whose first speed limit record is `velocita, 1850, 60`: the limit is 0 from "
     "0 m to 1850 m.",
     "start the speed limit list with `velocita, 0, ...`; give every stretch a speed."},
    {0,
     false,
     {},
     {},
     "timetable",
     "a section between two stops is scheduled shorter than the train's fastest run over it "
     "(or, with --margin P, leaves less slack than P % of that run). The warning gives the "
     "fastest run and the earliest time the arriving station's record can hold. It is off by "
     "default, because the train it assumes (the stock: mass, power, braking) is an assumption "
     "of the authors' tool, not part of the scenario.",
     "check --timing (and scenario timing, and the language server started with lsp --timing, "
     "which offers the earliest feasible time as a quick fix), timing each section with the "
     "stock file NAME_NUMBER.stock.json beside the sources, or --stock, or the defaults "
     "(docs/timing.md).",
     "a stop 5.5 km after the previous one, departing 30 s after it.",
     "give the section more time, at least the earliest feasible time the warning gives; or "
     "describe the train in a stock file (scenario stock --out NAME_NUMBER.stock.json)."},
};

}  // namespace

std::span<const Explanation> errorExplanations() {
    return kErrors;
}
std::span<const Explanation> warningExplanations() {
    return kWarnings;
}

const Explanation* errorExplanation(int code) {
    for (const Explanation& e : kErrors)
        if (e.code == code) return &e;
    return nullptr;
}

const Explanation* findExplanation(std::string_view numberOrName) {
    for (const Explanation& e : kWarnings)
        if (e.name == numberOrName) return &e;
    for (const Explanation& e : kErrors)
        if (std::to_string(e.code) == numberOrName) return &e;
    return nullptr;
}

}  // namespace scenario
