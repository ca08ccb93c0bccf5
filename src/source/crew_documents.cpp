// The built-in crew documents of train 30752: the train card, the slow-order notice and the notes.
// Text is Windows-1252, so accented letters are single bytes written as escapes.
#include "source/builtin_tables.h"
#include "source/make_line_table.h"

namespace scenario {

LineTable trainCardTable() {
    // The times match the train source file's departure times; the card itself is never computed.
    return makeLineTable({
        "  ___________________                                               ______________",
        " |                   |               SCHEDA                        |              |",
        " |   TRENO n. 30752  |              da: ALDERI C.LE                |    V140 C    |",
        " |___________________|               a: MONCASTA                   |     120%     |",
        "                                                                   |______________|",
        "  ___________________                ___________________",
        " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
        " |     REGIONALE     |              |      250T         |",
        " |___________________|              |___________________|",
        "",
        "  _________________________________________________________________________________",
        " | Vel.| Vel.| Progr Km | No  |  Localita' di Servizio     |     Orario      | Rec |",
        " | Lim.|Marc.|          | Rs  |                            |                 |     |",
        " |_____|_____|__________|_____|____________________________|_________________|_____|",
        " |  75 |     |    0.000 |     | ALDERI CENTRALE            |           14.23 |     |",
        " |     |     |    1.210 |     | ALDERI S. ROCCO            |      14.24      |     |",
        " |     |     |    1.722 |     | BORGO VALLINA              | 14.25+    14.26 |     |",
        " |     |     |    2.146 |     | CASTELFIORE                |      14.27      |     |",
        " |     |     |    4.308 |     | PRATOLUNGO                 | 14.28+    14.29 |     |",
        " | 100 |     |    5.000 |     | Cippo Chilometro 5         |      14.31      |     |",
        " |     |     |    6.900 |     | SAN GIUSTOLO               | 14.33+    14.34 |     |",
        " |     |     |    8.730 |     | COLLEBRUNO                 | 14.38     14.39 |     |",
        " |     |     |   11.900 |     | ACQUAVIVOLA                | 14.42+    14.43 |     |",
        " |     |     |   14.376 |     | TERRAMOZZA                 | 14.45+    14.46 |     |",
        " | 110 |     |   14.550 |     | Deviatoio di uscita        |      14.46      |     |",
        " |     |     |   15.900 |     | VALDIROSA                  | 14.48+    14.49 |     | ",
        " |     |     |   19.800 |     | PONTESCURO                 | 14.54     14.55 |     |",
        " | 100 |     |   21.100 |     | Segnale avviso FIORANTE    |      14.56      |     |",
        " |     |     |   22.714 |     | FIORANTE                   | 14.58     14.59 |     |",
        " | 130 |     |   23.750 |     | Imbocco galleria LIMARDO   |      15.01      |     |",
        " |     |     |   26.450 |     | CALDERINA                  | 15.03+    15.04 |     |",
        " | 100 |     |   28.700 |     | Curva al Km. 28+700        |      15.06      |     |",
        " | 135 |     |   29.853 |     | BARONISSO                  | 15.07     15.08 |     |",
        " |     |     |   34.616 |     | MONCASTA                   | 15.13           |     |",
        " |_____|_____|__________|_____|____________________________|_________________|_____|",
        "",
        "",
        "Nota: Nella colonna Orario il simbolo '+' indica 'mezzo minuto'.",
    });
}

LineTable slowOrderNoticeTable() {
    return makeLineTable({
        "",
        "",
        "",
        "",
        "                         NESSUNA PRESCRIZIONE",
    });
}

LineTable notesTable() {
    return makeLineTable({
        "                 Treno 30752 sul percorso Alderi Centrale - Moncasta",
        "",
        " Note sullo scenario:",
        "",
        " - Poich\xE9 \xE8 derivato direttamente da 'Sorvena - Moncasta 30750',",
        "   questo scenario ne \xE8 una copia fedele e se ne differenzia solo perch\xE9",
        "   la prima tratta parte da Alderi Centrale invece che da Sorvena.",
        "",
        " - Il treno 30752 ferma in tutte le stazioni ad eccezione di 'Castelfiore' non",
        "   ancora aperta al servizio viaggiatori.",
        "",
        " - Non vi sono situazioni difficili in questo scenario.",
        "",
        " Gruppo del costruttore di scenari - Roccalba (RB)",
        " costruttore.scenari@example.org",
    });
}

}  // namespace scenario
