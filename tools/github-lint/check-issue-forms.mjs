// Checks the issue forms of .github/ISSUE_TEMPLATE/ against what GitHub accepts, as far as a form's
// shape goes: GitHub shows a broken form as a plain blank issue and says nothing, so it is caught here.
// No schema of the forms comes packaged, so the rules are written out below.
// Usage: node check-issue-forms.mjs FORM.yml...   (tools/lint runs it from build/github-lint)
import { readFileSync } from "node:fs";
import { basename } from "node:path";
import { parse } from "yaml";

// Per element type, the attributes it may have; the first ones listed are required.
const elements = {
  markdown: { required: ["value"], optional: [] },
  textarea: { required: ["label"], optional: ["description", "placeholder", "value", "render"] },
  input: { required: ["label"], optional: ["description", "placeholder", "value"] },
  dropdown: { required: ["label", "options"], optional: ["description", "multiple", "default"] },
  checkboxes: { required: ["label", "options"], optional: ["description"] },
};
const topLevel = ["name", "description", "title", "labels", "assignees", "projects", "type", "body"];

const isText = (v) => typeof v === "string" && v.trim() !== "";
const isTextList = (v) => Array.isArray(v) && v.length > 0 && v.every(isText);

function checkForm(form, problem) {
  if (form === null || typeof form !== "object" || Array.isArray(form)) return problem("not a mapping");
  for (const key of Object.keys(form)) if (!topLevel.includes(key)) problem(`unknown top-level key "${key}"`);
  for (const key of ["name", "description"]) if (!isText(form[key])) problem(`"${key}" must be a non-empty text`);
  for (const key of ["labels", "assignees", "projects"]) {
    if (key in form && !isText(form[key]) && !isTextList(form[key])) problem(`"${key}" must be a text or a list of texts`);
  }
  if (!Array.isArray(form.body) || form.body.length === 0) return problem(`"body" must be a non-empty list`);
  const ids = new Set();
  const labels = new Set();
  let fields = 0;
  form.body.forEach((element, index) => {
    const where = `body[${index}]${element?.id ? ` (${element.id})` : ""}`;
    const say = (text) => problem(`${where}: ${text}`);
    if (element === null || typeof element !== "object") return say("not a mapping");
    for (const key of Object.keys(element)) {
      if (!["type", "id", "attributes", "validations"].includes(key)) say(`unknown key "${key}"`);
    }
    const kind = elements[element.type];
    if (!kind) return say(`type "${element.type}" is none of ${Object.keys(elements).join(", ")}`);
    const attributes = element.attributes;
    if (attributes === null || typeof attributes !== "object") return say(`"attributes" missing`);
    for (const key of Object.keys(attributes)) {
      if (!kind.required.includes(key) && !kind.optional.includes(key)) say(`${element.type} elements have no attribute "${key}"`);
    }
    for (const key of kind.required) if (!(key in attributes)) say(`attribute "${key}" missing`);
    if (element.type === "markdown") {
      if (!isText(attributes.value)) say(`"value" must be a non-empty text`);
      if ("id" in element || "validations" in element) say("a markdown element takes no id and no validations");
      return;
    }
    fields += 1;
    if (!isText(element.id) || !/^[A-Za-z0-9_-]+$/.test(element.id)) say("every field needs an id of letters, digits, - and _");
    else if (ids.has(element.id)) say(`id "${element.id}" is used twice`);
    else ids.add(element.id);
    if (!isText(attributes.label)) say(`"label" must be a non-empty text`);
    else if (labels.has(attributes.label)) say(`label "${attributes.label}" is used twice`);
    else labels.add(attributes.label);
    if ("validations" in element) {
      const v = element.validations;
      if (v === null || typeof v !== "object" || Object.keys(v).some((k) => k !== "required") || typeof v.required !== "boolean") {
        say(`"validations" may only hold "required: true" or "required: false"`);
      }
    }
    if (element.type === "dropdown") {
      const options = attributes.options;
      if (!isTextList(options)) say(`"options" must be a non-empty list of texts`);
      else if (new Set(options).size !== options.length) say("an option is listed twice");
      else if (options.some((o) => o.trim().toLowerCase() === "none")) say(`"None" is GitHub's own option, not one to list`);
    }
    if (element.type === "checkboxes") {
      const options = attributes.options;
      if (!Array.isArray(options) || options.length === 0 || !options.every((o) => o && isText(o.label))) {
        say(`"options" must be a non-empty list of { label: ... }`);
      }
    }
  });
  if (fields === 0) problem("the form asks for nothing: it has no field but markdown");
}

// The chooser's settings, if the folder has them.
function checkConfig(config, problem) {
  if (config === null || typeof config !== "object" || Array.isArray(config)) return problem("not a mapping");
  for (const key of Object.keys(config)) {
    if (!["blank_issues_enabled", "contact_links"].includes(key)) problem(`unknown key "${key}"`);
  }
  if ("blank_issues_enabled" in config && typeof config.blank_issues_enabled !== "boolean") {
    problem(`"blank_issues_enabled" must be true or false`);
  }
  for (const [index, link] of (config.contact_links ?? []).entries()) {
    if (!link || !isText(link.name) || !isText(link.about) || !/^https:\/\//.test(link.url ?? "")) {
      problem(`contact_links[${index}] needs a name, an about and an https:// url`);
    }
  }
}

let failed = false;
const files = process.argv.slice(2);
if (files.length === 0) {
  console.error("usage: node check-issue-forms.mjs FORM.yml...");
  process.exit(2);
}
for (const file of files) {
  const problem = (text) => {
    console.error(`${file}: ${text}`);
    failed = true;
  };
  let document;
  try {
    document = parse(readFileSync(file, "utf8"));
  } catch (error) {
    problem(`not YAML: ${error.message}`);
    continue;
  }
  if (/^config\.ya?ml$/.test(basename(file))) checkConfig(document, problem);
  else checkForm(document, problem);
}
if (!failed) console.log(`issue forms: ${files.length} checked, all in the shape GitHub takes`);
process.exit(failed ? 1 : 0);
