// The travel date and the month calendar of the sales screen.
#include "app/frm_start.h"

namespace kippurun {

void frmStart::dateBoxesFromToday() {}
void frmStart::Today() {}
void frmStart::Calender() {}
void frmStart::lblHi_Click(int) {}
void frmStart::cmdZenNen_Click() {}
void frmStart::cmdYokuNen_Click() {}
void frmStart::cmdZenGetu_Click() {}
void frmStart::cmdYokuGetsu_Click() {}
void frmStart::cmdDayKettei_Click() {}
void frmStart::cmdToday_Click() {}
void frmStart::cmdTomorrow_Click() {}
void frmStart::cmdAsatte_Click() {}
void frmStart::txtTuki_Click() {}
void frmStart::txtNichi_Click() {}

}  // namespace kippurun
