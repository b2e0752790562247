// Talveron HTML report: the filter box, and links to findings inside closed groups.
(function () {
  "use strict";
  var body = document.body;
  window.addEventListener("error", function (event) {
    body.setAttribute("data-script-error", String(event.message));
  });
  var findings = Array.prototype.slice.call(document.querySelectorAll("li.finding"));
  var groups = Array.prototype.slice.call(document.querySelectorAll("details.group"));
  var texts = null;  // the findings' texts, read when a text is first searched for
  var controls = {
    level: document.getElementById("f-level"),
    check: document.getElementById("f-check"),
    field: document.getElementById("f-field"),
    text: document.getElementById("f-text")
  };
  var count = document.getElementById("f-count");

  function text(index) {
    if (!texts) texts = findings.map(function (finding) { return finding.textContent.toLowerCase(); });
    return texts[index];
  }

  function matches(finding, index, wanted) {
    return (!wanted.level || finding.getAttribute("data-level") === wanted.level) &&
      (!wanted.check || finding.getAttribute("data-check") === wanted.check) &&
      (!wanted.field || finding.getAttribute("data-field") === wanted.field) &&
      (!wanted.text || text(index).indexOf(wanted.text) >= 0);
  }

  function apply() {
    var wanted = {
      level: controls.level.value,
      check: controls.check.value,
      field: controls.field.value,
      text: controls.text.value.trim().toLowerCase()
    };
    var active = Boolean(wanted.level || wanted.check || wanted.field || wanted.text);
    var shown = 0;
    findings.forEach(function (finding, index) {
      var ok = matches(finding, index, wanted);
      finding.hidden = !ok;
      if (ok) shown += 1;
    });
    groups.forEach(function (group) {
      var any = group.querySelector("li.finding:not([hidden])") !== null;
      group.hidden = active && !any;
      if (active && any) group.open = true;
    });
    count.textContent = shown + " of " + findings.length + " findings shown";
    body.setAttribute("data-shown", String(shown));
  }

  // "#filter:level=error&check=DCSUM&field=TEDE&text=..." opens the report filtered.
  function fromHash() {
    var hash = location.hash.slice(1);
    if (hash.indexOf("filter:") === 0) {
      var params = new URLSearchParams(hash.slice(7));
      Object.keys(controls).forEach(function (name) {
        controls[name].value = params.get(name) || "";
      });
      apply();
      return;
    }
    var target = hash ? document.getElementById(decodeURIComponent(hash)) : null;
    if (!target) return;
    var group = target.closest("details");
    if (group) group.open = true;
    target.scrollIntoView();
  }

  // A record is wider than the page: an opened group shows each record at its marked field.
  function showMarks(group) {
    Array.prototype.forEach.call(group.querySelectorAll("pre.rec"), function (record) {
      var mark = record.querySelector(".band, .char");
      if (mark) record.scrollLeft = mark.offsetLeft - record.offsetLeft - record.clientWidth / 3;
    });
  }
  groups.forEach(function (group) {
    group.addEventListener("toggle", function () { if (group.open) showMarks(group); });
  });

  Object.keys(controls).forEach(function (name) {
    controls[name].addEventListener(name === "text" ? "input" : "change", apply);
  });
  window.addEventListener("hashchange", fromHash);
  // Unfiltered, every finding shows as written: a big report opens without touching them.
  count.textContent = findings.length + " of " + findings.length + " findings shown";
  body.setAttribute("data-shown", String(findings.length));
  fromHash();
  body.setAttribute("data-ready", "yes");
})();
