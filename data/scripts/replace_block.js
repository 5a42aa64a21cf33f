// Replaces block A with block B in every map of a tileset, and says how many
// cells changed in each map.
// Arguments: TILESET A B (whole numbers; A and B from 0 to 255)
// @arg tileset number "Tileset"
// @arg from number "Block to replace (A)"
// @arg to number "Replacement block (B)"

if (args.length < 3)
    throw new Error('usage: replace_block.js TILESET A B');
var tileset = Number(args[0]), from = Number(args[1]), to = Number(args[2]);

var seen = {}, total = 0;
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
        if (m.tileset !== tileset)
            return;
        var count = 0;
        for (var y = 0; y < m.height; ++y) {
            for (var x = 0; x < m.width; ++x) {
                if (m.block(x, y) === from) {
                    m.setBlock(x, y, to);
                    ++count;
                }
            }
        }
        total += count;
        log(name + ': ' + count);
    });
});
log('total: ' + total);
