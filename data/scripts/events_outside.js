// Lists the warps, signposts and people that stand outside their map: a map
// of W x H blocks is 2W x 2H event squares. Changes nothing.

var kinds = [['warp', 'warps'], ['signpost', 'signposts'], ['person', 'people']];
var seen = {}, found = 0;
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
        var columns = 2 * m.width, rows = 2 * m.height;
        var tables;
        try {
            tables = kinds.map(function (kind) { return m[kind[1]]; });
        } catch (e) {
            log('skipped: ' + e.message);
            return;
        }
        kinds.forEach(function (kind, k) {
            tables[k].forEach(function (e, i) {
                if (e.x >= columns || e.y >= rows) {
                    log(name + ': ' + kind[0] + ' ' + (i + 1) + ' at (' + e.x + ', ' + e.y + ') outside '
                        + columns + ' x ' + rows);
                    ++found;
                }
            });
        });
    });
});
log(found + ' events outside their maps');
