// Internal to the forms library: filling a "Landscape" drop-down list.
#pragma once

// Hands the simulator's landscapes to the forms window as the entries of
// list k (box i). False when no simulator installation exists: the message
// has then been shown and logged, and the hand-over must end.
bool hand_over_landscapes(int i, int k);
