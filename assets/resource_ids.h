/* Resource ids of the program's icon and pictures, shared by the resource script and the code. */
#pragma once

#define CT_ICON_PROGRAM 1
#define CT_PICTURE_P1 101
#define CT_PICTURE_P2 102
#define CT_PICTURE_P3 103
#define CT_PICTURE_S1 104
