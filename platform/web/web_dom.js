// The JavaScript half of the web back end. It makes the DOM elements the C++
// half asks for and hands user input back to it; places, colours, texts,
// order and names all come from C++, so nothing here knows this window.

// The module and the window description lie in the page deflated, in base64
// in script elements that never run, and the browser's own
// DecompressionStream unpacks them: a sixteenth of their bytes to load, and
// nothing fetched, not even from file://. The description is no part of the
// module: the page writes it into the module's memory, where the program
// reads it, before main runs; the pixels of its bitmaps, most of which the
// first frame does not show, each come apart and later (TavrelDom.unpackLate).
// All of them lie before the script, so the whole start runs as soon as the
// script has.
// What cannot be unpacked or started is reported like any run-time error,
// since the program is not there to report it.
Module.instantiateWasm = function (imports, receive) {
  // The start is one task; a frame asked for before it is drawn as soon as
  // it ends, with the window, where one asked for by the window would wait
  // for the display's next refresh.
  requestAnimationFrame(function () {});
  try {
    var description = TavrelDom.readLayout();
    var module = TavrelDom.unpack(document.getElementById('tavrel-module')).then(TavrelDom.bytes);
    var first = TavrelDom.unpack(description).then(TavrelDom.bytes);
    Promise.all([module, first])
      .then(function (parts) {
        return TavrelDom.instantiate(parts[0], imports).then(function (made) {
          TavrelDom.placeFirst(made.instance, imports, parts[1]);
          return made;
        });
      })
      .then(function (made) {
        receive(made.instance, made.module);
        TavrelDom.unpackLate();
      }, TavrelDom.damaged);
  } catch (e) {
    TavrelDom.damaged(e);
  }
  return {};
};

var TavrelDom = {
  // The start window drawn into the page, while it stands for the window.
  copy: function () { return document.getElementById('tavrel-prerendered'); },

  // Where the description lies in the module's memory, its size, and its
  // late parts: the element each is in, and its place in the description.
  description: null,
  memory: null,
  root: null,
  // The start is over once main and the page's own start have run; the
  // window comes into the page then, when no box waits for its picture.
  starting: true,
  waiting: {},
  startFocus: null,
  // Run as the window comes into the page.
  presented: [],
  elements: [],
  pictures: [],
  lists: [],
  // Run with a list after the program has taken a pick of the user in it.
  userPicked: [],
  ended: false,
  pressed: false,

  // The base64 is decoded here: for blocks this small, a data: address the
  // browser decodes costs more in its round trip than it saves.
  unpack: function (el) {
    return new Promise(function (resolve) {
      var packed;
      if (Uint8Array.fromBase64) {
        packed = Uint8Array.fromBase64(el.textContent);
      } else {
        var text = atob(el.textContent);
        packed = new Uint8Array(text.length);
        for (var i = 0; i < text.length; i++) packed[i] = text.charCodeAt(i);
      }
      resolve(new Response(packed).body.pipeThrough(new DecompressionStream('deflate-raw')));
    });
  },

  // A stream's bytes, read chunk by chunk: in Chromium, many times quicker
  // than through a Response.
  bytes: function (stream) {
    var reader = stream.getReader();
    var chunks = [];
    var size = 0;
    var pump = function () {
      return reader.read().then(function (chunk) {
        if (!chunk.done) {
          chunks.push(chunk.value);
          size += chunk.value.length;
          return pump();
        }
        if (chunks.length === 1) return chunks[0];
        var all = new Uint8Array(size);
        chunks.reduce(function (at, c) { all.set(c, at); return at + c.length; }, 0);
        return all;
      });
    };
    return pump();
  },

  // A module this small compiles and starts on the spot, in a fraction of
  // the time that the round trips of doing so beside the page take; where a
  // browser allows no such work on its main thread, it is done beside it.
  instantiate: function (bytes, imports) {
    try {
      var module = new WebAssembly.Module(bytes);
      return Promise.resolve({ instance: new WebAssembly.Instance(module, imports), module: module });
    } catch (e) {
      if (!(e instanceof RangeError)) throw e;
      return WebAssembly.instantiate(bytes, imports);
    }
  },

  readLayout: function () {
    var el = document.getElementById('tavrel-description');
    var late = el.getAttribute('data-late').split(' ').filter(Boolean).map(Number);
    var d = { at: +el.getAttribute('data-at'), size: +el.getAttribute('data-size'), late: [] };
    for (var i = 0; i + 1 < late.length; i += 2) d.late.push({ from: late[i], size: late[i + 1] });
    TavrelDom.description = d;
    return el;
  },

  // Writes the first part of the description around the places of the late
  // ones, which stay zero until they come.
  placeFirst: function (instance, imports, first) {
    var d = TavrelDom.description;
    var memories = [instance.exports].concat(Object.keys(imports).map(function (k) { return imports[k]; }));
    memories.some(function (where) {
      return Object.keys(where).some(function (k) {
        if (where[k] instanceof WebAssembly.Memory) TavrelDom.memory = where[k];
        return TavrelDom.memory;
      });
    });
    var lateBytes = d.late.reduce(function (sum, part) { return sum + part.size; }, 0);
    if (!TavrelDom.memory || first.length !== d.size - lateBytes || d.at + d.size > TavrelDom.memory.buffer.byteLength)
      throw new Error('the description has ' + first.length + ' bytes, not ' + (d.size - lateBytes));
    var heap = new Uint8Array(TavrelDom.memory.buffer);
    var from = 0;
    var taken = 0;
    d.late.concat([{ from: d.size, size: 0 }]).forEach(function (part) {
      heap.set(first.subarray(taken, taken + part.from - from), d.at + from);
      taken += part.from - from;
      from = part.from + part.size;
    });
  },

  // Unpacks the late parts one after another, from the first frame on; a part
  // that a box waits for goes first, and at once.
  unpackLate: function () {
    var d = TavrelDom.description;
    var parts = document.getElementsByClassName('tavrel-late');
    if (parts.length !== d.late.length) {
      TavrelDom.damaged(new Error(parts.length + ' late parts, not ' + d.late.length));
      return;
    }
    var next = function () {
      var waiting = d.late.filter(function (part) { return part.wanted && !part.begun; });
      var part = waiting[0] || d.late.filter(function (p) { return !p.begun; })[0];
      if (!part || TavrelDom.ended) return;
      part.begun = true;
      TavrelDom.unpack(parts[d.late.indexOf(part)]).then(TavrelDom.bytes).then(function (bytes) {
        if (bytes.length !== part.size) throw new Error('a part of ' + bytes.length + ' bytes, not ' + part.size);
        new Uint8Array(TavrelDom.memory.buffer).set(bytes, d.at + part.from);
        part.done = true;
        TavrelDom.input(function () { Module._tavrel_web_bytes_arrived(); });
        next();
      }).catch(TavrelDom.damaged);
    };
    TavrelDom.nextLate = next;
    if (d.late.some(function (part) { return part.wanted; })) next();
    else requestAnimationFrame(function () { setTimeout(next, 0); });
  },

  // Whether [at, at + size) of memory holds what it should; a late part that
  // is not there yet is wanted.
  arrived: function (at, size) {
    var d = TavrelDom.description;
    if (!d) return true;
    var missing = d.late.filter(function (part) {
      return !part.done && d.at + part.from < at + size && at < d.at + part.from + part.size;
    });
    missing.forEach(function (part) {
      if (!part.wanted && !part.begun && TavrelDom.nextLate) setTimeout(TavrelDom.nextLate, 0);
      part.wanted = true;
    });
    return missing.length === 0;
  },

  damaged: function (e) {
    if (TavrelDom.ended) return;
    var detail = 'Web: the program cannot be unpacked (' + e + ')';
    console.error(document.title + ': грешка 450: Описанието на прозореца е повредено: ' + detail);
    TavrelDom.report(document.title, "Грешка при изпълнение '450':\n\nОписанието на прозореца е повредено\n(" +
      detail + ')', 'OK', 'Програмата завърши след грешка при изпълнение.');
  },

  // Puts the window into the page once the start is over and every box has
  // its picture, so that its first frame shows it whole (in place of its
  // drawn copy, which looks the same); then the focus it opens with, and the
  // rows of its lists, which need it laid out.
  present: function () {
    var root = TavrelDom.root;
    if (TavrelDom.starting || TavrelDom.ended || !root || root.isConnected || Object.keys(TavrelDom.waiting).length)
      return;
    var copy = TavrelDom.copy();
    if (copy) copy.replaceWith(root);
    else document.body.appendChild(root);
    TavrelDom.presented.forEach(function (fn) { fn(); });
    if (TavrelDom.startFocus) TavrelDom.focus.apply(null, TavrelDom.startFocus);
    TavrelDom.measureLists();
  },

  started: function () {
    TavrelDom.starting = false;
    TavrelDom.present();
  },

  // Calls into the program for one piece of user input. An error the program
  // reports ends it by unwinding out of the call; that end is not a fault of
  // the page, so it is not thrown on into the browser.
  input: function (call) {
    if (TavrelDom.ended) return undefined;
    try {
      return call();
    } catch (e) {
      if (e instanceof ExitStatus || e === 'unwind') return undefined;
      throw e;
    }
  },

  openWindow: function (title, width, height, color, font, fontPx) {
    document.title = title;
    var root = document.createElement('div');
    root.className = 'tavrel-window';
    root.setAttribute('role', 'main');
    root.setAttribute('aria-label', title);
    root.style.cssText = 'width:' + width + 'px;height:' + height + 'px;background:' + color +
      ';font-family:' + font + ';font-size:' + fontPx + 'px';
    root.addEventListener('keydown', TavrelDom.onKey);
    TavrelDom.watchInput();
    TavrelDom.root = root;
  },

  // Every element sits at its pixel place; z orders them front to back, and
  // the order of creation here is the order of reading.
  add: function (id, tag, cls, x, y, w, h, z) {
    var el = document.createElement(tag);
    el.className = cls;
    el.id = 'tavrel-' + id;
    el.style.cssText = 'left:' + x + 'px;top:' + y + 'px;width:' + w + 'px;height:' + h + 'px;z-index:' + z;
    el.tavrelId = id;
    TavrelDom.elements[id] = el;
    TavrelDom.root.appendChild(el);
    return el;
  },

  addLabel: function (id, x, y, w, h, z, color, centred, heading) {
    var el = TavrelDom.add(id, 'div', 'tavrel-label', x, y, w, h, z);
    el.style.background = color;
    el.style.textAlign = centred ? 'center' : 'left';
    if (heading) {
      el.setAttribute('role', 'heading');
      el.setAttribute('aria-level', '1');
    }
    // Only a caption the program changes is ever announced.
    el.setAttribute('aria-live', 'polite');
    el.setAttribute('aria-atomic', 'true');
  },

  addList: function (id, x, y, w, h, z, entries, header) {
    var el = TavrelDom.add(id, 'select', 'tavrel-list', x, y, w, h, z);
    entries.forEach(function (text) {
      var option = document.createElement('option');
      option.textContent = text;
      el.appendChild(option);
    });
    // A list box, not a drop-down; measureLists() gives it its true size.
    el.size = 2;
    el.selectedIndex = -1;
    el.tavrelSelected = -1;
    TavrelDom.lists.push(el);
    if (header >= 0) el.setAttribute('aria-labelledby', 'tavrel-' + header);
  },

  // The rows each list shows, for Page Up and Page Down to move by: measured
  // once the whole window stands, so the page is laid out once for all lists.
  measureLists: function () {
    var rows = TavrelDom.lists.map(function (el) {
      var row = el.options.length ? el.options[0].offsetHeight : 0;
      return row ? Math.floor(el.clientHeight / row) : 2;
    });
    TavrelDom.lists.forEach(function (el, i) { el.size = Math.max(2, rows[i]); });
  },

  // A browser changes a list's selection in ways that send no change event
  // (Chromium: a press in the list released outside it, or the list scrolling
  // under a held button). So each list keeps the selection the program last
  // gave it, and after any input every list is compared with it: the program
  // learns of a difference, or the list is put back.
  sync: function () {
    TavrelDom.lists.forEach(function (el) {
      var entry = el.selectedIndex;
      if (entry === el.tavrelSelected || TavrelDom.ended) return;
      if (entry >= 0) TavrelDom.input(function () { Module._tavrel_web_list_selected(el.tavrelId, entry); });
      if (TavrelDom.ended) return;
      if (el.selectedIndex !== el.tavrelSelected) el.selectedIndex = el.tavrelSelected;
      else TavrelDom.userPicked.forEach(function (fn) { fn(el); });
    });
  },

  // The browser changes a selection in an event's default action, after the
  // listeners have run: so the lists are compared at once (for what earlier
  // input did), before the next frame is drawn and in the next task. While a
  // button is held, every frame is checked too.
  watchInput: function () {
    var framed = false;
    var frame = function () {
      framed = false;
      TavrelDom.sync();
      if (TavrelDom.pressed && !TavrelDom.ended) later();
    };
    var later = function () {
      if (!framed) requestAnimationFrame(frame);
      framed = true;
    };
    var look = function (e) {
      if (e.type === 'pointerdown' || e.type === 'mousedown' || e.type === 'touchstart') TavrelDom.pressed = true;
      else if (/up$|end$|cancel$/.test(e.type) || e.buttons === 0) TavrelDom.pressed = false;
      TavrelDom.sync();
      later();
      setTimeout(TavrelDom.sync, 0);
    };
    ['input', 'change', 'click', 'keydown', 'keyup', 'focusin', 'focusout', 'scroll', 'wheel', 'pointerdown',
      'pointermove', 'pointerup', 'pointercancel', 'mousedown', 'mousemove', 'mouseup', 'touchstart', 'touchmove',
      'touchend', 'touchcancel'].forEach(function (type) {
      window.addEventListener(type, look, { capture: true, passive: true });
    });
    window.addEventListener('blur', function () { TavrelDom.pressed = false; });
  },

  addPicture: function (id, x, y, w, h, z, header) {
    var el = TavrelDom.add(id, 'canvas', 'tavrel-picture', x, y, w, h, z);
    el.width = w;
    el.height = h;
    el.tabIndex = 0;
    el.setAttribute('role', 'img');
    if (header >= 0) el.setAttribute('aria-labelledby', 'tavrel-' + header);
  },

  // A text area's value turns CR LF and lone CR into its own line breaks.
  addText: function (id, x, y, w, h, z, text, readOnly, name) {
    var el = TavrelDom.add(id, 'textarea', 'tavrel-text', x, y, w, h, z);
    el.setAttribute('aria-label', name);
    el.value = text;
    el.readOnly = readOnly;
    el.spellcheck = false;
    // Dropping text would edit it, and the browser lets a drop through readOnly.
    el.addEventListener('drop', function (e) { if (el.readOnly) e.preventDefault(); });
  },

  // Puts the elements in the page in reading order; they keep their places
  // and their stacking, which z gave them.
  setReadingOrder: function (ids) {
    ids.forEach(function (id) { TavrelDom.root.appendChild(TavrelDom.elements[id]); });
  },

  setCaption: function (id, text) { TavrelDom.elements[id].textContent = text; },
  setSelected: function (id, entry) {
    var el = TavrelDom.elements[id];
    el.tavrelSelected = entry;
    el.selectedIndex = entry;
  },

  // Pictures are shared and never change, so each is turned into pixels once.
  putPicture: function (id, picture, rgba, w, h) {
    if (rgba) TavrelDom.pictures[picture] = new ImageData(new Uint8ClampedArray(HEAPU8.subarray(rgba, rgba + w * h * 4)), w, h);
    TavrelDom.draw(id, picture);
    delete TavrelDom.waiting[id];
    TavrelDom.present();
  },

  waitPicture: function (id) {
    TavrelDom.waiting[id] = true;
    TavrelDom.draw(id, -1);
  },

  // A canvas that has never been drawn on is empty already: a context and a
  // clearing would make its pixels before anything is drawn on them.
  draw: function (id, picture) {
    var canvas = TavrelDom.elements[id];
    if (!canvas.tavrelDrawn && picture < 0) return;
    var context = canvas.getContext('2d');
    if (canvas.tavrelDrawn) context.clearRect(0, 0, canvas.width, canvas.height);
    canvas.tavrelDrawn = true;
    if (picture >= 0) context.putImageData(TavrelDom.pictures[picture], 0, 0);
  },

  // The icon is no part of the window's first frame: it is encoded after.
  setIcon: function (rgba, w, h) {
    var pixels = new ImageData(new Uint8ClampedArray(HEAPU8.subarray(rgba, rgba + w * h * 4)), w, h);
    setTimeout(function () {
      var canvas = document.createElement('canvas');
      canvas.width = w;
      canvas.height = h;
      canvas.getContext('2d').putImageData(pixels, 0, 0);
      var link = document.querySelector('link[rel~="icon"]') || document.head.appendChild(document.createElement('link'));
      link.rel = 'icon';
      link.href = canvas.toDataURL('image/png');
    }, 0);
  },

  // The focus the window opens with carries no mark until the keyboard moves it.
  focus: function (id, quiet) {
    if (TavrelDom.root && !TavrelDom.root.isConnected) TavrelDom.startFocus = [id, quiet];
    else if (TavrelDom.elements[id]) TavrelDom.elements[id].focus({ preventScroll: true, focusVisible: !quiet });
  },

  // Tab and Shift+Tab go round the window's own ring, as on the desktop. In
  // a frame of another page they leave it past the ring's last (or first)
  // element instead, or a keyboard user could never get back to that page.
  onKey: function (e) {
    if (e.key !== 'Tab' || e.ctrlKey || e.altKey || e.metaKey) return;
    var current = document.activeElement && document.activeElement.tavrelId;
    if (current !== undefined && window.self !== window.top) {
      var edge = TavrelDom.input(function () { return Module._tavrel_web_tab_edge(e.shiftKey ? 1 : 0); });
      if (current === edge) {
        // The browser's own order is the page's, not the ring's: for this one
        // key press, nothing else in the window may come next in it.
        var others = TavrelDom.elements.filter(function (el) {
          return el && el !== document.activeElement && el.tabIndex >= 0;
        });
        others.forEach(function (el) { el.tabIndex = -1; });
        setTimeout(function () { others.forEach(function (el) { el.tabIndex = 0; }); }, 0);
        return;
      }
    }
    // The program moves the focus itself, through focus() below.
    var moved = TavrelDom.input(function () {
      return Module._tavrel_web_tab_from(current === undefined ? -1 : current, e.shiftKey ? 1 : 0);
    });
    if (moved) e.preventDefault();
  },

  // The report of an error nobody caught. From here on no input reaches the
  // program: the window is gone, and once the report is dismissed the page
  // says that the program has ended.
  report: function (title, text, button, endedText) {
    TavrelDom.ended = true;
    if (TavrelDom.root) TavrelDom.root.remove();
    var copy = TavrelDom.copy();
    if (copy) copy.remove();
    var dialog = document.createElement('div');
    dialog.className = 'tavrel-report';
    dialog.setAttribute('role', 'alertdialog');
    dialog.setAttribute('aria-modal', 'true');
    dialog.setAttribute('aria-labelledby', 'tavrel-report-title');
    dialog.setAttribute('aria-describedby', 'tavrel-report-text');
    var heading = dialog.appendChild(document.createElement('h1'));
    heading.id = 'tavrel-report-title';
    heading.textContent = title;
    var message = dialog.appendChild(document.createElement('p'));
    message.id = 'tavrel-report-text';
    message.textContent = text;
    var ok = dialog.appendChild(document.createElement('button'));
    ok.textContent = button;
    var dismiss = function () {
      if (!dialog.isConnected) return;
      dialog.remove();
      var ended = document.createElement('p');
      ended.className = 'tavrel-ended';
      ended.setAttribute('role', 'status');
      ended.textContent = endedText;
      document.body.appendChild(ended);
    };
    ok.addEventListener('click', dismiss);
    dialog.addEventListener('keydown', function (e) {
      if (e.key === 'Escape' || e.key === 'Enter') { e.preventDefault(); dismiss(); }
      if (e.key === 'Tab') e.preventDefault(); // the only control keeps the focus
    });
    document.body.appendChild(dialog);
    ok.focus();
  },
};
