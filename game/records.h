// Slot numbers of the game's 10-float entity records and of the player's
// 512-float record, named once so that every file reads the same layout.
// Records live in preallocated float arrays; record i starts at 10 * i.
#pragma once

namespace rec {

constexpr int kSize = 10;  // floats per record

// planets[10 * i + ...]
constexpr int kPlanetPresent = 0, kPlanetX = 1, kPlanetY = 2, kPlanetRadius = 3, kPlanetArms = 4,
              kPlanetAngle = 5, kPlanetSpin = 6, kPlanetColour = 7, kPlanetPickupX = 8, kPlanetPickupY = 9;

// followers[10 * j + ...]; in state 2 slot 4 holds the fade alpha.
constexpr int kFollowerState = 0, kFollowerX = 1, kFollowerY = 2, kFollowerTargetX = 3, kFollowerTargetY = 4,
              kFollowerFade = 4, kFollowerFacing = 5, kFollowerWantFacing = 6, kFollowerSafe = 7,
              kFollowerBump = 8, kFollowerCarried = 9;

// hazards[10 * h + ...]
constexpr int kHazardState = 0, kHazardX = 1, kHazardY = 2, kHazardVX = 3, kHazardVY = 4, kHazardAngle = 5,
              kHazardSpin = 6, kHazardTimer = 7, kHazardFactor = 8;

// stars[10 * k + ...]; slot 4 unused.
constexpr int kStarFrame = 0, kStarX = 1, kStarY = 2, kStarDepth = 3, kStarAngle = 5, kStarSpin = 6;

// particles[10 * k + ...]; slot 0 is the kind, 0 when free.
constexpr int kParticleKind = 0, kParticleX = 1, kParticleY = 2, kParticleVX = 3, kParticleVY = 4,
              kParticleAngle = 5, kParticleSpin = 6, kParticleAlpha = 7, kParticleStyle = 8,
              kParticleFrame = 9;

// player[...]
constexpr int kPlayerX = 1, kPlayerY = 2, kPlayerVX = 3, kPlayerVY = 4, kPlayerFacing = 5,
              kPlayerWantFacing = 6, kPlayerCarried = 9, kPlayerTargetX = 11, kPlayerTargetY = 12,
              kPlayerTailFacing = 15, kPlayerWantTailFacing = 16, kPlayerColourTheme = 90,
              kPlayerPickupsLeft = 93, kPlayerHomeMeter = 94;

// Sizes of the preallocated stores.
constexpr int kEntityFloats = 5100;  // planets, followers, stars, particles
constexpr int kHazardRecords = 13;   // record 0 empty + at most 12 hazards
constexpr int kPlayerFloats = 512;

}  // namespace rec
