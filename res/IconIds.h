// Resource identifiers of the library's icons, shared by the resource script and the code that names them.
// Plain defines: the resource compiler reads this file too.
#pragma once

#define IDI_TARNWICK 101
#define IDI_ENCRYPT 102
#define IDI_ENCRYPT_SEND 103
#define IDI_SHRED 104
