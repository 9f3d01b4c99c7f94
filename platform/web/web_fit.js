// Fits the window to the page's viewport. Where it fits at its natural size
// but not at twice it, it stays exactly as drawn. Where it fits at twice its
// size or more it is centred and scaled by a transform, so text is still laid
// out once and drawn sharp, by a factor that makes every picture pixel a
// whole block of device pixels. Where it is wider than the viewport, its
// elements are laid out again one block under another: each caption with the
// boxes it names, and the rest in rows as they stand in the window, every
// element at its own size, in reading order, list entries tall enough to tap.
var TavrelFit = {
  gap: 8,     // CSS px between blocks and at the edges of a narrow viewport
  target: 24, // CSS px: the least height of a list entry on a narrow viewport

  // An element's place as the window draws it, from the style it was made with.
  natural: function (el) {
    if (el.tavrelNatural === undefined) {
      el.tavrelNatural = el.style.cssText;
      el.tavrelPlace = { x: parseFloat(el.style.left) || 0, y: parseFloat(el.style.top) || 0,
        w: parseFloat(el.style.width) || 0, h: parseFloat(el.style.height) || 0 };
    }
    return el.tavrelPlace;
  },

  mode: 'natural',

  fit: function () {
    var root = TavrelDom.root;
    if (TavrelDom.ended || !root) return;
    var size = TavrelFit.natural(root);
    var children = Array.prototype.slice.call(root.children);
    children.forEach(TavrelFit.natural);
    // The viewport's size as it stands before any layout (a phone's page
    // may be shrunk to fit the window until one, but not its media queries).
    // A scroll bar can take room from the window's width only where the
    // window is taller than the viewport, and only then is the layout asked.
    var html = document.documentElement;
    var width = matchMedia('(min-width: ' + size.w + 'px)').matches ? innerWidth : 0;
    if (width && innerHeight < size.h) {
      html.classList.remove('tavrel-narrow');
      TavrelFit.restore(root, children);
      width = html.clientWidth;
    }
    var room = width && Math.min(width / size.w, innerHeight / size.h);
    var mode = width < size.w ? 'narrow' : room >= 2 ? 'scaled' : 'natural';
    if (mode !== 'narrow') TavrelFit.restore(root, children);
    html.classList.toggle('tavrel-narrow', mode === 'narrow');
    if (mode === 'narrow' && TavrelFit.mode !== 'narrow') TavrelFit.narrow(root, children);
    TavrelFit.mode = mode;
    if (mode !== 'scaled') return;
    var ratio = window.devicePixelRatio || 1;
    var scale = Math.floor(room * ratio + 1e-6) / ratio;
    // Browsers place a box at a whole CSS pixel whatever its transform.
    var offset = function (space, length) { return Math.floor((space - length * scale) / 2); };
    root.style.cssText = root.tavrelNatural + ';position:absolute;transform-origin:0 0;transform:scale(' + scale +
      ');left:' + offset(width, size.w) + 'px;top:' + offset(innerHeight, size.h) + 'px';
  },

  // Puts the window back as drawn, where it is not already.
  restore: function (root, children) {
    if (TavrelFit.mode === 'narrow') children.forEach(function (el) { el.style.cssText = el.tavrelNatural; });
    if (TavrelFit.mode !== 'natural') root.style.cssText = root.tavrelNatural;
    TavrelFit.mode = 'natural';
  },

  // Blocks of elements in reading order: a caption and the boxes it names,
  // or a row of elements that share a band of the window's height.
  blocks: function (children) {
    // Sought among the window's own elements: the window may not be in the page yet.
    var header = function (el) {
      var id = el.getAttribute('aria-labelledby');
      return children.filter(function (label) { return id && label.id === id; })[0] || null;
    };
    var blocks = [];
    var taken = [];
    var bottom = -1;
    children.forEach(function (el) {
      if (taken.indexOf(el) >= 0) return;
      var named = children.filter(function (box) { return header(box) === el; });
      var p = el.tavrelPlace;
      if (named.length) {
        blocks.push([el].concat(named));
        taken = taken.concat(named);
        bottom = -1;
      } else if (p.y < bottom) {
        blocks[blocks.length - 1].push(el);
        bottom = Math.max(bottom, p.y + p.h);
      } else {
        blocks.push([el]);
        bottom = p.y + p.h;
      }
    });
    return blocks;
  },

  narrow: function (root, children) {
    var gap = TavrelFit.gap;
    root.style.cssText = root.tavrelNatural + ';display:grid;grid-template-columns:100%;row-gap:' + gap +
      'px;padding:' + gap + 'px 0;width:auto;height:auto';
    TavrelFit.blocks(children).forEach(function (block, row) {
      var left = Math.min.apply(null, block.map(function (el) { return el.tavrelPlace.x; }));
      var right = Math.max.apply(null, block.map(function (el) { return el.tavrelPlace.x + el.tavrelPlace.w; }));
      var top = Math.min.apply(null, block.map(function (el) { return el.tavrelPlace.y; }));
      // A list grows to show its rows at the target height; what lies below
      // it in the block moves down by as much.
      var growth = block.map(function (el) {
        if (el.tagName !== 'SELECT') return 0;
        var rows = el.size || 2;
        return rows * Math.max(0, TavrelFit.target - Math.floor((el.tavrelPlace.h - 4) / rows));
      });
      block.forEach(function (el) {
        var p = el.tavrelPlace;
        var below = block.reduce(function (sum, other, i) {
          return other.tavrelPlace.y < p.y ? sum + growth[i] : sum;
        }, 0);
        var css = ';position:static;grid-row:' + (row + 1) + ';grid-column:1;align-self:start;justify-self:start;' +
          'margin:' + (p.y - top + below) + 'px 0 0 ';
        // Centred to a whole CSS pixel, which the browser would round to anyway.
        var centred = function (shift) { return 'round(down, calc(50% + ' + shift + 'px), 1px)'; };
        css += block.length === 1 ? 'max(' + gap + 'px, ' + centred(-p.w / 2) + ');max-width:calc(100% - ' +
          2 * gap + 'px)' : centred(p.x - left - (right - left) / 2);
        if (el.tagName === 'SELECT') css += ';height:' + (p.h + growth[block.indexOf(el)]) + 'px';
        // A caption wraps rather than be cut where the viewport is narrower.
        if (el.classList.contains('tavrel-label')) css += ';height:auto;min-height:' + p.h + 'px;white-space:pre-wrap';
        el.style.cssText = el.tavrelNatural + css;
      });
    });
  },
};
// The back end fits the window as it shows it, before it is in the page; a
// window taller than the viewport is fitted again in the page, where the
// scroll bar it brings takes its room. From then on the viewport may change.
TavrelDom.presented.push(function () {
  if (innerHeight < TavrelFit.natural(TavrelDom.root).h) TavrelFit.fit();
});
TavrelSelection.onStart(function () { addEventListener('resize', TavrelFit.fit); });
