// Loads the program. The module and the window description lie in the page
// deflated, in base64 in script elements that never run, and the browser's
// own DecompressionStream unpacks them: a sixteenth of their bytes to load,
// and nothing fetched, not even from file://. The description is no part of
// the module: it is written into the module's memory, where the program
// reads it, before main runs; the pixels of its bitmaps, most of which the
// first frame does not show, each come apart and later. All of them lie
// before the script, so the whole start runs as soon as the script has.
// What cannot be unpacked or started is reported like any run-time error,
// in the program's own words, which the build put into the page.
(function (T) {
  // Where the description lies in the module's memory, its size, and its
  // late parts: the element each is in, and its place in the description.
  var description = null;
  var memory = null;
  var nextLate = null;

  // The base64 is decoded here: for blocks this small, a data: address the
  // browser decodes costs more in its round trip than it saves.
  var unpack = function (el) {
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
  };

  // A stream's bytes, read chunk by chunk: in Chromium, many times quicker
  // than through a Response.
  var bytes = function (stream) {
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
  };

  // A module this small compiles and starts on the spot, in a fraction of
  // the time that the round trips of doing so beside the page take; where a
  // browser allows no such work on its main thread, it is done beside it.
  var instantiate = function (module, imports) {
    try {
      var compiled = new WebAssembly.Module(module);
      return Promise.resolve({ instance: new WebAssembly.Instance(compiled, imports), module: compiled });
    } catch (e) {
      if (!(e instanceof RangeError)) throw e;
      return WebAssembly.instantiate(module, imports);
    }
  };

  var readLayout = function () {
    var el = document.getElementById('tavrel-description');
    var late = el.getAttribute('data-late').split(' ').filter(Boolean).map(Number);
    description = { at: +el.getAttribute('data-at'), size: +el.getAttribute('data-size'), late: [] };
    for (var i = 0; i + 1 < late.length; i += 2) description.late.push({ from: late[i], size: late[i + 1] });
    return el;
  };

  // Writes the first part of the description around the places of the late
  // ones, which stay zero until they come.
  var placeFirst = function (instance, imports, first) {
    var d = description;
    var places = [instance.exports].concat(Object.keys(imports).map(function (k) { return imports[k]; }));
    places.some(function (where) {
      return Object.keys(where).some(function (k) {
        if (where[k] instanceof WebAssembly.Memory) memory = where[k];
        return memory;
      });
    });
    var lateBytes = d.late.reduce(function (sum, part) { return sum + part.size; }, 0);
    if (!memory || first.length !== d.size - lateBytes || d.at + d.size > memory.buffer.byteLength)
      throw new Error('the description has ' + first.length + ' bytes, not ' + (d.size - lateBytes));
    var heap = new Uint8Array(memory.buffer);
    var from = 0;
    var taken = 0;
    d.late.concat([{ from: d.size, size: 0 }]).forEach(function (part) {
      heap.set(first.subarray(taken, taken + part.from - from), d.at + from);
      taken += part.from - from;
      from = part.from + part.size;
    });
  };

  var damaged = function (e) {
    if (T.ended()) return;
    var words = document.getElementById('tavrel-damaged').dataset;
    var detail = 'Web: the program cannot be unpacked (' + e + ')';
    var fill = function (text) { return text.split('{detail}').join(detail); };
    console.error(fill(words.line).trim());
    T.report(words.title, fill(words.text), words.button, words.ended);
  };

  // Unpacks the late parts one after another, from the first frame on; a part
  // that a box waits for goes first, and at once.
  var unpackLate = function () {
    var d = description;
    var parts = document.getElementsByClassName('tavrel-late');
    if (parts.length !== d.late.length) {
      damaged(new Error(parts.length + ' late parts, not ' + d.late.length));
      return;
    }
    var next = function () {
      var waiting = d.late.filter(function (part) { return part.wanted && !part.begun; });
      var part = waiting[0] || d.late.filter(function (p) { return !p.begun; })[0];
      if (!part || T.ended()) return;
      part.begun = true;
      unpack(parts[d.late.indexOf(part)]).then(bytes).then(function (got) {
        if (got.length !== part.size) throw new Error('a part of ' + got.length + ' bytes, not ' + part.size);
        new Uint8Array(memory.buffer).set(got, d.at + part.from);
        part.done = true;
        T.input(function () { Module._tavrel_web_bytes_arrived(); });
        next();
      }).catch(damaged);
    };
    nextLate = next;
    if (d.late.some(function (part) { return part.wanted; })) next();
    else requestAnimationFrame(function () { setTimeout(next, 0); });
  };

  T.load = {
    // Whether [at, at + size) of memory holds what it should; a late part that
    // is not there yet is wanted.
    arrived: function (at, size) {
      var d = description;
      if (!d) return true;
      var missing = d.late.filter(function (part) {
        return !part.done && d.at + part.from < at + size && at < d.at + part.from + part.size;
      });
      missing.forEach(function (part) {
        if (!part.wanted && !part.begun && nextLate) setTimeout(nextLate, 0);
        part.wanted = true;
      });
      return missing.length === 0;
    },
  };

  Module.instantiateWasm = function (imports, receive) {
    // The start is one task; a frame asked for before it is drawn as soon as
    // it ends, with the window, where one asked for by the window would wait
    // for the display's next refresh.
    requestAnimationFrame(function () {});
    try {
      var module = unpack(document.getElementById('tavrel-module')).then(bytes);
      var first = unpack(readLayout()).then(bytes);
      Promise.all([module, first])
        .then(function (parts) {
          return instantiate(parts[0], imports).then(function (made) {
            placeFirst(made.instance, imports, parts[1]);
            return made;
          });
        })
        .then(function (made) {
          receive(made.instance, made.module);
          unpackLate();
        }, damaged);
    } catch (e) {
      damaged(e);
    }
    return {};
  };
})(Tavrel);
