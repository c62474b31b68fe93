// Item touches: the hero takes an item of the stage's item list by touch, an item a block
// carries by standing on it, or the item a character hands over at its death or a shot
// carries. Each ends in ItemTouchEffect: the item's effect, its sound and its instant commands
// run on the hero.
#pragma once

class cChara;
class cHero;
class cItem;
class cPlayScene;
class cShot;

// The item's effect shown above the character, its sound, then its instant commands on the
// hero; their result (0 when nothing happens: no item, an item that cannot be taken or has
// not appeared, or a taker that is not a hero).
int ItemTouchEffect(cPlayScene* scene, cItem* item, cChara* chara);
// The items of the item list the hero touches; 0 or the first non-zero result of an item's
// commands. A once-only item leaves the list when touched; a repeatable one acts again only
// after the hero has let go of it.
int HitHeroItems(cPlayScene* scene, cHero& hero);
// The item of the block the hero stands on, at most once a second while it stays there.
int BlockItemTouch(cHero& hero);
// The item a shot carries (its palette choice and number), given to the hero; the result of its
// commands, 0 when it carries none or the definition does not exist.
int GiveShotItem(cPlayScene* scene, cShot& shot);
