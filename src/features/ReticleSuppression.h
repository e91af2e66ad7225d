#pragma once

// One frame of the reticle suppression: hides the reticle while the player is in scope. Sends at most
// five natives and allocates nothing.
void ReticleSuppression();
