// The published site's behaviour: one level of a workflow at a time, the
// details of the chosen task or arrow, pan and zoom of the drawings and the
// search over the index the publisher wrote. Everything works without this
// script too, only less comfortably.
(function () {
  'use strict';
  document.documentElement.classList.add('js');

  function byId(id) { return id ? document.getElementById(id) : null; }

  // ---- Levels and details, driven by the address's fragment ----
  function showLevel(number) {
    var levels = document.querySelectorAll('section.level');
    if (!levels.length) return;
    var wanted = byId('level-' + number) || levels[0];
    levels.forEach(function (l) { l.classList.toggle('current', l === wanted); });
  }

  function mark(selector, on) {
    document.querySelectorAll('.current' + selector).forEach(function (e) { e.classList.remove('current'); });
    if (on) on.classList.add('current');
  }

  function follow() {
    var id = decodeURIComponent(location.hash.slice(1));
    var match = /^level-(\d+)$/.exec(id);
    if (match) { showLevel(match[1]); mark('.detail', null); return; }
    var detail = byId(id);
    if (detail && detail.classList.contains('detail')) {
      showLevel(detail.getAttribute('data-level'));
      mark('.detail', detail);
      var kind = id.split('-')[0], key = id.slice(kind.length + 1);
      var shape = document.querySelector(kind === 'task' ? '.node[data-task="' + key + '"]'
                                                          : '.arrow[data-arrow="' + key + '"]');
      mark('.node', kind === 'task' ? shape : null);
      mark('.arrow', kind === 'arrow' ? shape : null);
      if (shape && shape.scrollIntoView) shape.scrollIntoView({block: 'nearest', inline: 'nearest'});
      return;
    }
    showLevel(1);
  }
  window.addEventListener('hashchange', follow);
  follow();

  // ---- Pan and zoom ----
  document.querySelectorAll('section.level').forEach(function (level) {
    var box = level.querySelector('.drawing'), svg = box && box.querySelector('svg');
    if (!svg) return;
    var width = +svg.getAttribute('width'), height = +svg.getAttribute('height'), scale = 1;
    function zoom(to, cx, cy) {
      to = Math.min(8, Math.max(0.1, to));
      var fx = cx === undefined ? box.clientWidth / 2 : cx, fy = cy === undefined ? box.clientHeight / 2 : cy;
      var px = (box.scrollLeft + fx) / scale, py = (box.scrollTop + fy) / scale;
      scale = to;
      svg.setAttribute('width', Math.round(width * scale));
      svg.setAttribute('height', Math.round(height * scale));
      box.scrollLeft = px * scale - fx;
      box.scrollTop = py * scale - fy;
    }
    function fit() { zoom(Math.min(1.5, (box.clientWidth - 4) / width, Math.max(0.2, (box.clientHeight - 4) / height))); }
    level.querySelectorAll('[data-zoom]').forEach(function (button) {
      button.addEventListener('click', function () {
        var how = button.getAttribute('data-zoom');
        if (how === 'in') zoom(scale * 1.25);
        else if (how === 'out') zoom(scale / 1.25);
        else if (how === 'fit') fit();
        else zoom(1);
      });
    });
    box.addEventListener('keydown', function (e) {
      if (e.target !== box) return;
      if (e.key === '+' || e.key === '=') { zoom(scale * 1.25); e.preventDefault(); }
      if (e.key === '-') { zoom(scale / 1.25); e.preventDefault(); }
    });
    box.addEventListener('wheel', function (e) {
      if (!e.ctrlKey) return;
      e.preventDefault();
      var r = box.getBoundingClientRect();
      zoom(scale * (e.deltaY < 0 ? 1.15 : 1 / 1.15), e.clientX - r.left, e.clientY - r.top);
    }, {passive: false});
    // Two fingers pinch; a mouse drags the drawing (touch scrolls natively).
    var pointers = {}, pinch = null, drag = null;
    box.addEventListener('pointerdown', function (e) {
      pointers[e.pointerId] = e;
      var ids = Object.keys(pointers);
      if (ids.length === 2) {
        var a = pointers[ids[0]], b = pointers[ids[1]];
        pinch = {distance: Math.hypot(a.clientX - b.clientX, a.clientY - b.clientY), scale: scale};
      } else if (e.pointerType === 'mouse' && !e.target.closest('a')) {
        drag = {x: e.clientX, y: e.clientY, left: box.scrollLeft, top: box.scrollTop};
      }
    });
    box.addEventListener('pointermove', function (e) {
      if (pointers[e.pointerId]) pointers[e.pointerId] = e;
      var ids = Object.keys(pointers);
      if (pinch && ids.length === 2) {
        var a = pointers[ids[0]], b = pointers[ids[1]], r = box.getBoundingClientRect();
        zoom(pinch.scale * Math.hypot(a.clientX - b.clientX, a.clientY - b.clientY) / pinch.distance,
             (a.clientX + b.clientX) / 2 - r.left, (a.clientY + b.clientY) / 2 - r.top);
      } else if (drag) {
        box.scrollLeft = drag.left - (e.clientX - drag.x);
        box.scrollTop = drag.top - (e.clientY - drag.y);
      }
    });
    function up(e) { delete pointers[e.pointerId]; pinch = null; drag = null; }
    box.addEventListener('pointerup', up);
    box.addEventListener('pointercancel', up);
    if (width > box.clientWidth) fit();
  });

  // ---- Search ----
  var input = byId('search'), list = byId('search-results');
  var index = window.VELK_SEARCH || [];
  if (!input || !list) return;
  var lowered = index.map(function (e) { return (e[0] + '\n' + e[1] + '\n' + e[2]).toLowerCase(); });
  function item(entry) {
    var li = document.createElement('li'), a = document.createElement('a');
    a.href = entry[5];
    a.appendChild(document.createTextNode(entry[0] || 'unnamed'));
    var who = document.createElement('span');
    who.className = 'who';
    who.textContent = [entry[1], entry[2]].filter(Boolean).join(' \u00b7 ');
    var where = document.createElement('span');
    where.className = 'where';
    where.textContent = entry[4];
    if (who.textContent) a.appendChild(who);
    a.appendChild(where);
    li.appendChild(a);
    return li;
  }
  function search() {
    var words = input.value.toLowerCase().split(/\s+/).filter(Boolean);
    list.textContent = '';
    if (!words.length) { list.hidden = true; return; }
    var shown = 0;
    for (var i = 0; i < index.length && shown < 50; ++i) {
      if (words.every(function (w) { return lowered[i].indexOf(w) >= 0; })) { list.appendChild(item(index[i])); ++shown; }
    }
    if (!shown) {
      var none = document.createElement('li');
      none.textContent = 'No task, performer or form matches.';
      list.appendChild(none);
    }
    list.hidden = false;
  }
  input.addEventListener('input', search);
  input.addEventListener('keydown', function (e) {
    if (e.key === 'ArrowDown') { var first = list.querySelector('a'); if (first) { first.focus(); e.preventDefault(); } }
    if (e.key === 'Escape') { list.hidden = true; }
  });
  list.addEventListener('keydown', function (e) {
    var link = e.target.closest('li');
    if (e.key === 'ArrowDown' && link && link.nextElementSibling) { link.nextElementSibling.querySelector('a').focus(); e.preventDefault(); }
    if (e.key === 'ArrowUp') { (link && link.previousElementSibling ? link.previousElementSibling.querySelector('a') : input).focus(); e.preventDefault(); }
    if (e.key === 'Escape') { list.hidden = true; input.focus(); }
  });
  list.addEventListener('click', function () { list.hidden = true; });
  document.addEventListener('click', function (e) { if (!e.target.closest('.search')) list.hidden = true; });
})();
