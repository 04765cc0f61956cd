// The timetable sheet of service RX907 for the simulator's user: title block,
// then the places, speed boards and kilometre posts along the line with
// speeds, progressives and times. Two rows keep their irregular endings.
#include "core/form1.h"
#include "documents/document_writer.h"

namespace {

constexpr const char* kScheda[] = {
    "",
    "",
    "  ___________________                                               ______________",
    " |                   |                    SCHEDA                   |              |",
    " |   TRENO n.907     |                   da: BRESTA                |    V160 C    |",
    " |___________________|                    a: VILCAR P.N.           |     135%     |",
    "                                                                   |______________|",
    "  ___________________                ___________________",
    " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
    " |        RX         |              |      480 T        |",
    " |___________________|              |___________________|",
    "",
    "  ________________________________________________________________________________",
    " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
    " | Lim.|Marc.|          |  Rs |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    " | 75  | 75  |  0       |     | BRESTA                     |          9.38  |     |",
    " |     |     |  3+350   |     | P.C.VALSORDA               |      9.43      | 0.5 |",
    " | 110 | 100 |  6+350   |     | Cartello Indicatore        |                |     |",
    " |     |     | 11+125   |     | P.C.CAVRIA                 |      9.50      | 0.5 |",
    " | 85  | 80  | 16+000   |     | Cippo Km                   |      9.52      |     |",
    " |     |     | 18+550   |     | PIANCASTELLO               | 9.56     9.57  |     |",
    " |     |     | 21+500   |     | Sorba                      |     10.00      |     |",
    " |     |     | 22+600   |     | MONTEFOSCO                 |     10.01      | 0.5 |",
    " | 130 | 120 | 24+400   |     | Cartello                   |                |     |",
    " |     |     | 29+700   |     | PASSO CORNALE              |10.06    10.07  |  1  |",
    " | 105 | 95  | 31+200   |     | Cartello Indicatore        |                |     |",
    " |     |     | 35+800   |     | BIVIO LAGACCIO             |     10.11      |     |",
    " | 90  | 80  | 40+000   |     | Cippo KM                   |                |     |",
    " |     |     | 41+500   |     | P.C.FAGGETO                |     10.15      | 0.5 |",
    " |     |     | 47+300   |     | VALDIPINO                  |     10.19      |     |",
    " | 110 | 100 | 50+000   |     | Cippo KM                   |                |     |",
    " |     |     | 53+500   |     | SAN CLEMENTE               |     10.23      | 0.5 |",
    " | 110 | 100 | 59+200   |     | Cartello Indicatore        |                |",
    " |     |     | 60+650   |     | ROCCAVERA                  |     10.28      |     |",
    " |     |     | 64+500   |     | Castelbruno                |     10.30      |     |",
    " |     |     | 68+900   |     | PIEVE ALTA                 |     10.32      | 0.5 |",
    " | 110 | 100 | 70+100   |     | Cartello Indicatore        |                |     |",
    " |     |     | 72+400   |     | TORRAZZA                   |     10.34      |  1  |",
    " | 110 | 100 | 75+000   |     | Cippo Km                   |                |     |",
    " |     |     | 75+800   |     | ROSSOLA: BIVIO             |     10.36      |     |",
    " |     |     | 78+900   |     | P.C.MOLINELLA              |     10.38      | 0.5 |",
    " | 135 | 125 | 80+650   |     | Cartello Indicatore        |                |     | ",
    " |     |     | 83+500   |     | VILLANOVA                  |     10.41      |     |",
    " |     |     | 86+100   |     | CERRETO                    |     10.43      |  1  |",
    " | 115 | 105 | 87+600   |     | Cartello Indicatore        |                |     |",
    " | 115 | 105 | 90+000   |     | Cippo KM                   |                |     |",
    " |     |     | 91+800   |     | Ponte Salice               |     10.47      |     |",
    " |     |     | 95+900   |     | GROPPARA                   |     10.50      | 0.5 |",
    " | 115 | 105 | 98+000   |     | Cippo KM                   |                |     |",
    " |     |     |101+700   |     | P.C.VIGNOLE                |     10.54      |     |",
    " | 90  |  80 |103+000   |     | Cippo KM                   |                |     |",
    " |     |     |104+900   |     | BORGO LAVEZZE              |     10.57      |  1  |",
    " | 30  |  30 |106+050   |     | Cartello Indicatore        |                |     |",
    " |     |     |107+950   |     | VILCAR P.N.                |11.00           |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    "",
};

}  // namespace

void Form1::dati_scheda() {
    LineList list;
    riempi_lista(list, kScheda);
    scrivi_documento(programFolder, timetable_sheet_name(), list);
}
