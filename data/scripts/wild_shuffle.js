// Shuffles the wild creatures of the whole game: the creature numbers of
// every wild slot of every map change places, each level staying with its
// slot. The same seed always gives the same game.
// Arguments: SEED (a whole number)
// @arg seed number "Seed of the shuffle (a whole number)"

if (args.length < 1 || !/^-?\d+$/.test(args[0]))
    throw new Error('usage: wild_shuffle.js SEED (a whole number)');

// mulberry32: a small generator of its own, so the result depends on the
// seed alone. Gives numbers in [0, 1).
function generator(seed) {
    var a = seed | 0;
    return function () {
        a = (a + 0x6D2B79F5) | 0;
        var t = Math.imul(a ^ (a >>> 15), 1 | a);
        t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
}

var times = ['morning', 'day', 'night'];
var slots = [];   // every wild slot of the game, in catalogue order
var seen = {};
catalogue.categories().forEach(function (category) {
    catalogue.maps(category).forEach(function (name) {
        if (seen[name])
            return;
        seen[name] = true;
        var m;
        try {
            m = map(name);
        } catch (e) {
            log('skipped: ' + e.message);
            return;
        }
        if (!m.hasWildTable)
            return;
        times.forEach(function (time) {
            for (var slot = 0; slot < 7; ++slot)
                slots.push({map: m, time: time, slot: slot, slotValue: m.encounter(time, slot)});
        });
    });
});

// Fisher-Yates over the creature numbers.
var random = generator(parseInt(args[0], 10));
var numbers = slots.map(function (s) { return s.slotValue.number; });
for (var i = numbers.length - 1; i > 0; --i) {
    var j = Math.floor(random() * (i + 1));
    var t = numbers[i];
    numbers[i] = numbers[j];
    numbers[j] = t;
}
slots.forEach(function (s, k) { s.map.setEncounter(s.time, s.slot, s.slotValue.level, numbers[k]); });
log('shuffled ' + slots.length + ' wild slots with seed ' + args[0]);
