#include "features/ReticleSuppression.h"

#include "features/GameNatives.h"
#include "host/Natives.h"
#include "host/Script.h"

void ReticleSuppression() {
  if (!PlayerInScopeTest(GetPlayerId())) return;
  if (!WeaponInScopeTest(GetCurrentWeapon(PlayerPed, 0))) return;
  HideReticleThisFrame();
}
