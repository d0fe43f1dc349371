// The operations that walk every Corvexium in the system without a
// controller being selected: the controller table (-listall, and the start
// of the interactive mode) and the health of every card (-healthall).
#pragma once

// 0 when the table was printed, 1 on a failure.
int ListAll();

// The last card's health result, 1 on a failure of its own, 0 without cards.
int HealthAll();
