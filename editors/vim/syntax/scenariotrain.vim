" Highlighting of the train source files (*-.txt), generated from the record tables by `scenario syntax`: do not edit.
if exists('b:current_syntax')
  finish
endif

syn match scenarioNumber /-\?\<\d\+\>/
syn match scenarioRecord /\c^\%([^,]*massa\)\@=\%([^,]*frenata\)\@=[^,]*/
syn match scenarioRecord /\c^\%([^,]*vetture\)\@=[^,]*/
syn match scenarioRecord /\c^\%([^,]*velocit\)\@=[^,]*/
syn match scenarioRecord /\c^\%([^,]*aderenza\)\@=[^,]*/
syn match scenarioRecord /\c^\%([^,]*orologio\)\@=[^,]*/
syn match scenarioRecord /\c^\%([^,]*sabbia\)\@=[^,]*/
syn match scenarioRecord /\c^\%([^,]*segnale\)\@=[^,]*/
syn match scenarioRecord /\c^\%([^,]*rallentamento\)\@=[^,]*/
syn match scenarioRecord /\c^\%([^,]*abbattimento\)\@=[^,]*/
syn match scenarioRecord /\c^\%([^,]*stazione\)\@=[^,]*/
syn match scenarioHeader /^\s*\[[^\]]*\]/
syn match scenarioComment /^[^,]*-.*$/

hi def link scenarioNumber Number
hi def link scenarioRecord Keyword
hi def link scenarioHeader Title
hi def link scenarioComment Comment

let b:current_syntax = 'scenariotrain'
