// The built-in train source file: train 30752 from Alderi to Moncasta, one entry per file line.
#include "source/builtin_tables.h"
#include "source/make_line_table.h"

namespace scenario {

LineTable trainSourceTable() {
    // The clock's numbers are parted by blanks only, and the record fields are right-aligned in
    // fixed widths: the file is written verbatim.
    return makeLineTable({
        "[generale]",
        "numero vetture,    3",
        "percentuale massa frenata,    120",
        "sabbia,    300",
        "orologio,    14              22            30 ",
        "[aderenze]",
        "aderenza,   0,   100",
        "aderenza,    8650,    80",
        "aderenza,    9800,    90",
        "aderenza,   14650,    80",
        "aderenza,   18200,   100",
        "[vel_limite]",
        "velocita,       0,    75",
        "velocita,    1850,    60",
        "velocita,    2350,    75",
        "velocita,    3550,   100",
        "velocita,   13100,   110",
        "velocita,   19700,   100",
        "velocita,   22300,   130",
        "velocita,   27250,   100",
        "velocita,   28600,   135",
        "velocita,   32950,    80",
        "[stazioni]",
        "stazione,       0,  4,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  14,23, 0, ALDERI CENTRALE",
        "stazione,    1200, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, ALDERI S. ROCCO",
        "stazione,    1750, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,   30,  14,26, 0, BORGO VALLINA",
        "stazione,    2300, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, CASTELFIORE",
        "stazione,    2850, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,   30,  14,29, 0, PRATOLUNGO",
        "stazione,    5450, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,   30,  14,34, 0, SAN GIUSTOLO",
        "stazione,    7300, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  14,39, 0, COLLEBRUNO",
        "stazione,   10250, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,   30,  14,43, 0, ACQUAVIVOLA",
        "stazione,   12950, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   30,  14,46, 0, TERRAMOZZA",
        "stazione,   14450, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,   30,  14,49, 0, VALDIROSA",
        "stazione,   18350, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  14,55, 0, PONTESCURO",
        "stazione,   21250, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  14,59, 0, FIORANTE",
        "stazione,   25150, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   30,  15, 4, 0, CALDERINA",
        "stazione,   28400, 12,  300,  0, 0, 0,  1,1,0,  4,1,1,   60,  15, 8, 0, BARONISSO",
        "stazione,   33150,  4,  500,  1, 0, 0,  1,1,0,  2,1,1,    0,  15,13, 0, MONCASTA",
        "[rallentamenti]",
        "[segnali]",
        "segnale,    1000,   2, 5, 6,  0, 0,    0,  0,0,0, 0",
        "segnale,    1800,   2, 2, 4,  0, 1,    0,  0,0,0, 0",
        "segnale,    2600,   2, 4, 0,  0, 0,    2,  2,1,0, 0",
        "segnale,    5650,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,    6700,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   10800,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   12050,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   16600,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   17800,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   19650,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   20650,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   23350,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   24550,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   26600,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   27800,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   31350,   1, 5, 6,  0, 0,    0,  0,0,0, 0",
        "segnale,   32550,   2, 2, 3,  0, 1,    0,  0,0,0, 0",
        "[codici]",
        "[fine]",
    });
}

}  // namespace scenario
