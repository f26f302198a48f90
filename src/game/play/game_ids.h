// The numbers the screens share: image slots, sound ids and settings entries.
#pragma once

// Slots of the image table (100 slots; the others stay empty).
enum ImageSlot : int {
    kImageSpiders = 1,  // walk cycle in frames 0..4, debris bits in 5..7
    kImageBadges = 80,
    kImageFont = 90,
    kImageTestCard = 91,
    kImageIcade = 92,
    kImageMakerLogo = 93,
    kImageDpad = 94,
    kImageButtons = 95,
    kImageParts = 96,
    kImageIcons = 97,
    kImageLogo = 98,
    kImageMenu = 99,
};

// Frames of the icon sheet (kImageIcons).
enum IconFrame : int {
    kIconPause = 0,
    kIconQuit = 1,
    kIconResume = 3,
    kIconSoundOn = 4,
    kIconSoundOff = 5,
    kIconRing = 6,  // the selection ring
};

// Ids of the sound table (100 ids, file sfx/<id in three digits>.wav).
enum SoundId : int {
    kSfxSpiderInCentre = 1,
    kSfxThrow = 2,
    kSfxSpiderHit = 3,
    kSfxDrop = 4,
    kSfxPickUp = 5,
    kSfxTick = 6,
    kSfxTimeUp = 7,
    kSfxButtons = 95,  // loaded with the others; no screen plays it
    kSfxClick = 98,
    kSfxPanel = 99,
};

// Entries of the settings array.
enum Setting : int {
    kSettingSoundMode = 5,  // 1 effects and music, 2 effects, 3 music, 0 silence
    kSettingPadX = 10,      // the on-screen direction pad
    kSettingPadY = 11,
    kSettingPadSize = 12,
    kSettingsCount = 25,
};
